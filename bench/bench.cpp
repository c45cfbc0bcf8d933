// Timings of the program against floors of the same work, measured in one run.
//
// Every figure is printed on its own line of the standard output as "KEY VALUE UNIT", so that a
// script can read them; what is being done goes to the error output. A ratio is the program's
// time over the floor's, the floor being real work on the same bytes: durable one-record appends
// for the store, a flushed copy for the preparation, reading the files for the returns, the
// follow-up and the archives. The program exits 1 only when a figure is over three times its goal
// (or a preparation failed), since the machine is shared and noisy.
#include "config/configuration.h"
#include "config/fichierconfiguration.h"
#include "entry/Principal.h"
#include "entry/filepatients.h"
#include "entry/frmListeEnMem.h"
#include "platform/MaskEdBox.h"
#include "platform/clavier.h"
#include "platform/dialogues.h"
#include "platform/fichiers.h"
#include "platform/horloge.h"
#include "platform/imprimantes.h"
#include "platform/reglages.h"
#include "records/champs.h"
#include "records/facture.h"
#include "records/fichierfactures.h"
#include "records/statistique.h"
#include "returns/affichageretour.h"
#include "returns/archives.h"
#include "returns/frmArchives.h"
#include "returns/frmHistorique.h"
#include "returns/frmPrecedenteFact.h"
#include "returns/frmSuiviFactures.h"
#include "returns/retours.h"
#include "returns/suivi.h"
#include "statistics/frmListeDesFacturations.h"
#include "statistics/statmensuelle.h"
#include "transmission/envoi.h"
#include "transmission/preparation.h"
#include "transmission/rapports.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

class DialoguesMuets : public PortDialogue {
public:
    void message(Icone, const QString&, const QString&) override {}
    Reponse question(Icone, const QString&, const QString&, Boutons, int) override {
        return Reponse::Annuler;
    }
    std::optional<QString> saisie(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    int choix(const FenetreChoix&) override { return -1; }
    std::optional<FichierChoisi> fichierAEnregistrer(const QString&, const QString&, const QStringList&) override {
        return std::nullopt;
    }
    void bip() override {}
};

void note(const QString& texte) { std::fprintf(stderr, "%s\n", qPrintable(texte)); }

// The figures, with their goals: each printed as it is measured, checked at the end.
struct Chiffre {
    QByteArray cle;
    double valeur, but;
    const char* unite;
};
QList<Chiffre> chiffres;

void chiffre(const QByteArray& cle, double valeur, const char* unite, double but = 0) {
    std::printf("%s %.3f %s\n", cle.constData(), valeur, unite);
    std::fflush(stdout);
    if (but > 0)
        chiffres.append({cle, valeur, but, unite});
}

ValeursFacture uneFacture(int i) {
    ValeursFacture v;
    v.nam = "TREM80011514";
    v.prenom = "JEAN";
    v.nom = QStringLiteral("PATIENT %1").arg(i);
    v.sequenceCarte = "1";
    v.expirationCarte = "427";
    v.naissance = "19800115";
    v.adresse = "123 RUE PRINCIPALE";
    v.ville = "ST-OLVANE";
    v.codePostal = "H2X1Y4";
    v.dateService = "20261204";
    v.diagnostics = {"3784", "", "", ""};
    v.actes = {"09001", "09008", "", ""};
    v.honoraires = {"002855", "001200", "", ""};
    v.agence = "71234";
    v.professionnel = i % 2 ? "311111" : "322227";
    v.groupe = "12345";
    v.etablissement = "52713";
    return v;
}

double maintenant(const QElapsedTimer& t) { return t.nsecsElapsed() / 1e9; }

// The best of `repetitions` timings of `f`, `avant` run untimed before each.
double secondes(const std::function<void()>& f, int repetitions = 1, const std::function<void()>& avant = {}) {
    double meilleur = 1e99;
    for (int i = 0; i < repetitions; ++i) {
        if (avant)
            avant();
        QElapsedTimer t;
        t.start();
        f();
        meilleur = std::min(meilleur, maintenant(t));
    }
    return meilleur;
}

// The best of each of two timings taken in turn, so that a drift of the machine counts against
// both.
std::pair<double, double> enAlternance(const std::function<void()>& a, const std::function<void()>& b,
                                       int repetitions, const std::function<void()>& avant = {}) {
    double meilleurA = 1e99, meilleurB = 1e99;
    for (int i = 0; i < repetitions; ++i) {
        meilleurA = std::min(meilleurA, secondes(a, 1, avant));
        meilleurB = std::min(meilleurB, secondes(b));
    }
    return {meilleurA, meilleurB};
}

// The floor of a store: one durable append of a 723-byte record, opening the file.
void ajoutDurable(const QByteArray& chemin, const QByteArray& enregistrement) {
    const int fd = ::open(chemin.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0 || ::write(fd, enregistrement.constData(), enregistrement.size()) < 0 || ::fdatasync(fd) != 0)
        std::abort();
    ::close(fd);
}

// The floor of a preparation: copying `source` to a new file through a reused buffer, flushed
// to the disk and renamed into place.
void copier(const QByteArray& source, const QByteArray& temporaire, const QByteArray& cible) {
    const int entree = ::open(source.constData(), O_RDONLY);
    const int sortie = ::open(temporaire.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    static char tampon[1 << 20];
    ssize_t n;
    while ((n = ::read(entree, tampon, sizeof tampon)) > 0)
        if (::write(sortie, tampon, n) != n)
            std::abort();
    if (::fdatasync(sortie) != 0 || ::rename(temporaire.constData(), cible.constData()) != 0)
        std::abort();
    ::close(entree);
    ::close(sortie);
}

// A program folder of its own under `racine`, configured, with its Sauvramq.
QString nouveauDossier(const QString& racine, const QString& nom) {
    const QString d = racine + QLatin1Char('/') + nom;
    QDir(d).removeRecursively();
    QDir(d).mkpath(QStringLiteral("Sauvramq"));
    fichiers::ecrireAtomique(d + "/Facturat.Lex", "R7123407D71234070041ABCDEFGHIJKLMNO041");
    CreerConfigurationParDefaut(d);
    return d;
}

// A plain write, without a flush: the bench's data need not be durable.
void poser(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(octets) != octets.size())
        std::abort();
}

double lireTous(const QStringList& chemins, int repetitions = 3) {
    return secondes([&] {
        for (const QString& c : chemins)
            (void)fichiers::lire(c).size();
    }, repetitions);
}

// The milliseconds from the construction of a window until it is shown and every item view in
// it (or the window itself, when it has none) has painted.
class Peinture : public QObject {
public:
    QWidget* fenetre = nullptr;
    QSet<QWidget*> attendues;
    bool eventFilter(QObject* objet, QEvent* e) override {
        if (e->type() == QEvent::Paint && objet->isWidgetType())
            attendues.remove(static_cast<QWidget*>(objet));
        return false;
    }
};

double ouvrirFenetre(const std::function<QWidget*()>& fabrique) {
    QElapsedTimer t;
    t.start();
    std::unique_ptr<QWidget> fenetre(fabrique());
    Peinture peinture;
    qApp->installEventFilter(&peinture);
    fenetre->show();
    for (QAbstractItemView* vue : fenetre->findChildren<QAbstractItemView*>())
        if (vue->isVisible() && !qobject_cast<QAbstractItemView*>(vue->parentWidget()) &&
            !vue->inherits("QComboBoxListView"))
            peinture.attendues.insert(vue->viewport());
    if (peinture.attendues.isEmpty())
        peinture.attendues.insert(fenetre.get());
    while (!peinture.attendues.isEmpty() && t.elapsed() < 120000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const double ms = t.nsecsElapsed() / 1e6;
    qApp->removeEventFilter(&peinture);
    fenetre.reset();
    QApplication::processEvents();
    return ms;
}

// The invoice typed into the entry window's boxes.
void taper(Principal& p, int i) {
    const ValeursFacture v = uneFacture(i);
    p.MaskEdBox1[0]->setClipText(v.nam);
    p.MaskEdBox1[1]->setClipText(v.naissance);
    p.MaskEdBox1[2]->setClipText(v.codePostal);
    p.MaskEdBox1[6]->setClipText(v.diagnostics[0]);
    p.Text1[0]->setText(v.nom);
    p.Text1[1]->setText(v.prenom);
    p.Combo1[2]->setEditText(v.actes[0]);
    p.Label2[0]->setText(v.honoraires[0]);
}

double centile(QList<double> v, double c) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[std::min<qsizetype>(v.size() - 1, qsizetype(c * v.size()))];
}

// A display of its own on a virtual X server, on which the start-up is watched: the time from
// the start of the process until its entry window is mapped.
class ServeurX {
public:
    ServeurX() {
        for (int n = 90 + ::getpid() % 500, essais = 0; essais < 20 && !connexion_; ++n, ++essais) {
            serveur_ = std::make_unique<QProcess>();
            serveur_->start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(n), QStringLiteral("-nolisten"),
                                                      QStringLiteral("tcp"), QStringLiteral("-screen"),
                                                      QStringLiteral("0"), QStringLiteral("1280x1024x24")});
            if (!serveur_->waitForStarted(5000))
                return;
            const QByteArray nom = ":" + QByteArray::number(n);
            for (int i = 0; i < 100 && serveur_->state() == QProcess::Running; ++i) {
                xcb_connection_t* c = xcb_connect(nom.constData(), nullptr);
                if (!xcb_connection_has_error(c)) {
                    connexion_ = c;
                    affichage_ = QString::fromLatin1(nom);
                    break;
                }
                xcb_disconnect(c);
                QThread::msleep(50);
            }
            if (!connexion_) {
                serveur_->kill();
                serveur_->waitForFinished();
            }
        }
        if (!connexion_)
            return;
        racine_ = xcb_setup_roots_iterator(xcb_get_setup(connexion_)).data->root;
        const uint32_t masque = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connexion_, racine_, XCB_CW_EVENT_MASK, &masque);
        xcb_flush(connexion_);
    }
    ~ServeurX() {
        if (connexion_)
            xcb_disconnect(connexion_);
        if (serveur_) {
            serveur_->terminate();
            serveur_->waitForFinished();
        }
    }
    bool pret() const { return connexion_ != nullptr; }

    // Starts `programme` with `arguments` on this display and returns the milliseconds until a
    // window whose title contains `titre` is mapped (negative when none is within 60 s).
    double jusquALaFenetre(const QString& programme, const QStringList& arguments, QProcessEnvironment env,
                           const QByteArray& titre) {
        env.insert(QStringLiteral("DISPLAY"), affichage_);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer t;
        t.start();
        p.start(programme, arguments);
        double ms = -1;
        while (ms < 0 && t.elapsed() < 60000) {
            xcb_generic_event_t* e = xcb_poll_for_event(connexion_);
            if (!e) {
                if (p.state() == QProcess::NotRunning)
                    break;
                QThread::usleep(200);
                continue;
            }
            if ((e->response_type & ~0x80) == XCB_MAP_NOTIFY) {
                const auto* m = reinterpret_cast<xcb_map_notify_event_t*>(e);
                if (this->titre(m->window).contains(titre))
                    ms = t.nsecsElapsed() / 1e6;
            }
            std::free(e);
        }
        p.terminate();
        if (!p.waitForFinished(5000)) {
            p.kill();
            p.waitForFinished();
        }
        while (xcb_generic_event_t* e = xcb_poll_for_event(connexion_))
            std::free(e);
        return ms;
    }

private:
    QByteArray titre(xcb_window_t fenetre) {
        const char nom[] = "_NET_WM_NAME";
        xcb_intern_atom_reply_t* atome =
            xcb_intern_atom_reply(connexion_, xcb_intern_atom(connexion_, 0, sizeof nom - 1, nom), nullptr);
        QByteArray t;
        for (xcb_atom_t propriete : {atome ? atome->atom : xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_WM_NAME)}) {
            xcb_get_property_reply_t* r = xcb_get_property_reply(
                connexion_, xcb_get_property(connexion_, 0, fenetre, propriete, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                nullptr);
            if (r) {
                t += QByteArray(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
                std::free(r);
            }
        }
        std::free(atome);
        return t;
    }

    std::unique_ptr<QProcess> serveur_;
    xcb_connection_t* connexion_ = nullptr;
    xcb_window_t racine_ = 0;
    QString affichage_;
};

// A kept billing stamped with its own attestation, its invoices numbered 1 to n.
QByteArray facturationEstampillee(const QByteArray& modele, int n, const QByteArray& attestation) {
    QByteArray f = modele.left(qsizetype(n) * facture::Longueur);
    for (int r = 0; r < n; ++r) {
        f.replace(r * facture::Longueur + facture::Attestation.colonne - 1, 7, attestation);
        f.replace(r * facture::Longueur + facture::NumeroFacture.colonne - 1, 4, champs::nombre(r + 1, 4));
    }
    return f + char(26);
}

// `n` records of `modele`, repeated as often as needed.
QByteArray repeter(const QByteArray& modele, qsizetype longueur, qsizetype n) {
    QByteArray r;
    r.reserve(longueur * n);
    while (r.size() < longueur * n)
        r += modele.left(std::min(modele.size(), longueur * n - r.size()));
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    activerClavierDesBoutons();  // as the program does: an access key clicks its button at once
    QTemporaryDir dossier;
    // KESTROVA_BENCH_GARDER=1 keeps the folder (and the printed PDF) for a look afterwards.
    dossier.setAutoRemove(qEnvironmentVariableIsEmpty("KESTROVA_BENCH_GARDER"));
    const QString racine = dossier.path();
    const QString programme = nouveauDossier(racine, QStringLiteral("clinique"));
    ReglagesUtilisateur::rediriger(racine + "/reglages");
    DialoguesMuets muet;
    bool reussi = true;

    // (a) 32 767 invoices stored one by one, against as many durable appends of one record, in
    // blocks of 1 024 taken in turn (the first of each pair alternating).
    note(QStringLiteral("Enregistrement de 32 767 factures une à une, et autant d'ajouts durables..."));
    const int n = facture::NombreMaximal;
    const QByteArray plancher = QFile::encodeName(programme + "/plancher.dat");
    const QByteArray unEnregistrement(facture::Longueur, 'x');
    double stockage = 0, ajouts = 0;
    for (int debut = 1, bloc = 0; debut <= n; debut += 1024, ++bloc) {
        const int fin = std::min(n, debut + 1023);
        const auto stocker = [&] {
            QElapsedTimer t;
            t.start();
            for (int i = debut; i <= fin; ++i)
                fichierfactures::EnregistrerFacture(uneFacture(i), programme, muet);
            stockage += maintenant(t);
        };
        const auto ajouter = [&] {
            QElapsedTimer t;
            t.start();
            for (int i = debut; i <= fin; ++i)
                ajoutDurable(plancher, unEnregistrement);
            ajouts += maintenant(t);
        };
        if (bloc % 2) {
            ajouter();
            stocker();
        } else {
            stocker();
            ajouter();
        }
    }
    ::unlink(plancher.constData());
    chiffre("enregistrement-ratio", stockage / ajouts, "x", 1.5);
    chiffre("enregistrement-s", stockage, "s");
    chiffre("enregistrement-plancher-s", ajouts, "s");
    const QString ftmp = fichierfactures::cheminFtmp(programme);
    const QByteArray plein = fichiers::lire(ftmp);

    // The store in the real window, from Alt+E to the record on the disk, on a file that holds
    // a few invoices.
    {
        note(QStringLiteral("Enregistrement dans la fenêtre (Alt+E)..."));
        ReglagesUtilisateur utilisateur;
        auto principal = std::make_unique<Principal>(programme, muet, utilisateur);
        principal->Form_Load();
        principal->afficher();
        QApplication::setActiveWindow(principal.get());
        QApplication::processEvents();
        fichiers::ecrireAtomique(ftmp, plein.left(10 * facture::Longueur));
        QList<double> durees;
        for (int i = 0; i < 300; ++i) {
            taper(*principal, i);
            const qint64 avant = QFileInfo(ftmp).size();
            QWidget* cible = QApplication::focusWidget() ? QApplication::focusWidget() : principal.get();
            QElapsedTimer t;
            t.start();
            QTest::keyClick(cible, Qt::Key_E, Qt::AltModifier);
            while (QFileInfo(ftmp).size() == avant && t.elapsed() < 5000)
                QApplication::processEvents(QEventLoop::AllEvents);
            durees << t.nsecsElapsed() / 1e6;
        }
        chiffre("enregistrement-fenetre-p50-ms", centile(durees, 0.50), "ms");
        chiffre("enregistrement-fenetre-p99-ms", centile(durees, 0.99), "ms", 3);
    }

    // (b) The file part of a preparation of the full file (no printing), against a flushed copy
    // of its bytes, in turn.
    note(QStringLiteral("Préparation des fichiers de 32 767 factures, et copie des mêmes octets..."));
    const preparation::Valeurs v =
        preparation::valeursDepuis(preparation::lireAgence(programme), Horloge::aujourdhui());
    const QString lex = programme + "/Facturat.Lex";
    const QByteArray agence = fichiers::lire(lex);
    const auto remettre = [&] {
        fichiers::ecrireAtomique(ftmp, plein);
        fichiers::ecrireAtomique(lex, agence);
    };
    const QByteArray source = QFile::encodeName(programme + "/copie-source"),
                     temporaire = QFile::encodeName(programme + "/copie-tmp"),
                     cible = QFile::encodeName(programme + "/copie-cible");
    fichiers::ecrireAtomique(QFile::decodeName(source), plein);
    const auto [b, copie] = enAlternance(
        [&] { reussi = preparation::Preparer(programme, v, muet).reussi && reussi; },
        [&] { copier(source, temporaire, cible); }, 5, remettre);
    chiffre("preparation-fichiers-ratio", b / copie, "x", 1.3);
    chiffre("preparation-fichiers-s", b, "s");
    chiffre("preparation-plancher-s", copie, "s");
    const QByteArray requete = fichiers::lire(preparation::cheminDans(programme, v.requete));

    // (b') The same preparation by the command line, a whole process from start to exit, its
    // reports printed to PDF.
    note(QStringLiteral("kestrova preparer sur 32 767 factures, rapports en PDF..."));
    const double commande = secondes(
        [&] {
            QProcess p;
            p.start(QStringLiteral(KESTROVA), {QStringLiteral("--dossier"), programme, QStringLiteral("preparer")});
            reussi = p.waitForFinished(600000) && p.exitCode() == 0 && reussi;
        },
        1, remettre);
    chiffre("preparation-complete-s", commande, "s", 5);

    // (c) The report of 1 000 invoices rendered to PDF.
    note(QStringLiteral("Rapport de 1 000 factures en PDF..."));
    imprimantes::choisir(imprimantes::Pdf);
    const QList<QByteArray> mille =
        rapports::lireEnregistrements(preparation::cheminDans(programme, v.demandes)).mid(0, 1000);
    QByteArray octetsMille;
    for (const QByteArray& e : mille)
        octetsMille += e;
    const QString milleChemin = programme + "/Sauvramq/D-mille";
    fichiers::ecrireAtomique(milleChemin, octetsMille + char(26));
    const Configuration configuration = Configuration::parDefaut();
    const double c = secondes([&] {
        ImprimanteQt imprimante(programme);
        rapports::imprimerRapportsPreparation(imprimante, milleChemin, v.requete, v.attestation, configuration);
    }, 3);
    chiffre("rapport-1000-s", c, "s", 0.3);

    // Start-up as a new process until its entry window is mapped, with a full Ftmp.Fil.
    {
        note(QStringLiteral("Démarrage du programme avec 32 767 factures en mémoire..."));
        fichiers::ecrireAtomique(ftmp, plein);
        ServeurX x;
        if (!x.pret()) {
            note(QStringLiteral("Xvfb n'a pas pu démarrer: le démarrage n'est pas mesuré."));
            chiffre("demarrage-ms", 1e9, "ms", 500);
        } else {
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), racine + "/reglages-demarrage");
            QList<double> durees;
            for (int i = 0; i < 7; ++i)
                durees << x.jusquALaFenetre(QStringLiteral(KESTROVA), {QStringLiteral("--dossier"), programme}, env,
                                            "Saisie des factures");
            const bool toutes = std::none_of(durees.begin(), durees.end(), [](double d) { return d < 0; });
            chiffre("demarrage-ms", toutes ? centile(durees, 0.5) : 1e9, "ms", 500);
        }
    }

    // The list windows opened with 5 000 and 50 000 rows, each in a folder of its own, until
    // shown and painted; the key is the worst of them.
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    const QByteArray patient = *filepatients::enregistrementDeLigne(
        "TREM80011514;PATIENT;JEAN;19800115;M;123 RUE PRINCIPALE;ST-OLVANE;H2X1Y4;0427;01;12345;52713");
    envoi::Requete envoyee{QStringLiteral("6001001"), QStringLiteral("000300"), QString(), QStringLiteral("71234"),
                           QStringLiteral("7123407"), 1234567};
    const QByteArray journal = envoi::enregistrementJournal(envoyee, QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    struct Liste {
        const char* nom;
        std::function<void(const QString& dossier, int rangees)> remplir;
        std::function<QWidget*(const QString& dossier)> ouvrir;
    };
    const QList<Liste> listes = {
        {"file-d-attente",
         [&](const QString& d, int r) { poser(d + "/MdiTmp.Dat", repeter(patient, patient.size(), r)); },
         [&](const QString& d) { return new frmListeEnMem(d, muet); }},
        {"archives",
         [&](const QString& d, int r) { poser(fichierfactures::cheminFtmp(d), repeter(plein, facture::Longueur, r)); },
         [&](const QString& d) { return new frmArchives(d, muet); }},
        {"facturations-precedentes",
         [&](const QString& d, int r) {
             for (int i = 0; i < r; ++i)
                 poser(QStringLiteral("%1/Sauvramq/R71%2").arg(d).arg(i, 5, 10, QLatin1Char('0')), requete);
         },
         [&](const QString& d) { return new frmPrecedenteFact(d, muet); }},
        {"historique",
         [&](const QString& d, int r) { poser(fichierfactures::cheminFtmp(d), repeter(plein, facture::Longueur, r)); },
         [&](const QString& d) { return new frmHistorique(d, configuration, muet); }},
        {"facturations-envoyees",
         [&](const QString& d, int r) { poser(d + "/Sauvramq/LstEnvoie.Dat", repeter(journal, journal.size(), r)); },
         [&](const QString& d) { return new frmListeDesFacturations(d, muet); }},
        {"suivi",
         [&](const QString& d, int r) {
             for (int i = 0; i * 250 < r; ++i)
                 poser(QStringLiteral("%1/Sauvramq/D71%2").arg(d).arg(i, 5, 10, QLatin1Char('0')),
                       facturationEstampillee(plein, std::min(250, r - i * 250), QByteArray::number(6000000 + i)));
         },
         [&](const QString& d) { return new frmSuiviFactures(d, configuration, muet); }},
    };
    for (const int rangees : {5000, 50000}) {
        double pire = 0;
        for (const Liste& l : listes) {
            note(QStringLiteral("Fenêtre %1 avec %2 lignes...").arg(QLatin1String(l.nom)).arg(rangees));
            const QString d = nouveauDossier(racine, QStringLiteral("liste"));
            l.remplir(d, rangees);
            double ms = 1e99;
            for (int i = 0; i < 3; ++i)
                ms = std::min(ms, ouvrirFenetre([&] { return l.ouvrir(d); }));
            chiffre(QByteArray("liste-") + QByteArray::number(rangees) + "-ms-" + l.nom, ms, "ms");
            if (QByteArray(l.nom) == "facturations-precedentes") {
                // One file per row: its floor is listing the folder and reading every file.
                const QString sauvramq = d + QStringLiteral("/Sauvramq");
                const double plancher = secondes([&] {
                    QStringList chemins;
                    for (const QString& nom : QDir(sauvramq).entryList(QDir::Files))
                        chemins << sauvramq + QLatin1Char('/') + nom;
                    for (const QString& c : chemins)
                        (void)fichiers::lire(c).size();
                }, 3);
                chiffre(QByteArray("liste-") + QByteArray::number(rangees) + "-ms-" + l.nom + "-lecture",
                        plancher * 1000, "ms");
            }
            pire = std::max(pire, ms);
            QDir(d).removeRecursively();
        }
        chiffre(QByteArray("liste-") + QByteArray::number(rangees) + "-ms", pire, "ms", rangees == 5000 ? 100 : 300);
    }
    Horloge::liberer();

    // (d) A large error return (20 000 error lines) and a large statement (20 000 detail lines):
    // the list summary and the viewer's model of each, against reading the same bytes.
    note(QStringLiteral("Résumé et visionneuse de retours de 20 000 lignes..."));
    QByteArray erreurs = " 21903404200045\r\n";
    for (int i = 0; i < 20000; ++i) {
        Enregistrement e(94);
        e.ecrireTexte(1, 3, QByteArray(" 25"));
        e.ecrireTexte(4, 7, QByteArray("9034042"));
        e.ecrireTexte(11, 6, QByteArray("123456"));
        e.ecrireTexte(22, 6, champs::nombre(i, 6));
        e.ecrireTexte(30, 62, QByteArray("NAM INVALIDE"));
        erreurs += e.octets() + "\r\n";
    }
    erreurs += " 28       000001000013000012000001000000123456789\r\n";
    QByteArray etat = " 1600       7123401261201      261130\r\n 1601       0311111 12345\r\n";
    for (int r = 1; r <= 20000; ++r) {
        Enregistrement e(60);
        e.ecrireTexte(1, 2, QByteArray("13"));
        e.ecrireTexte(5, 3, champs::nombre(r % 1000, 3));
        e.ecrireTexte(10, 5, champs::nombre(r, 5));
        e.ecrireTexte(15, 5, QByteArray("26030"));
        e.ecrireTexte(21, 4, QByteArray("0901"));
        e.ecrireTexte(34, 9, champs::nombre(2855, 9));
        e.ecrireTexte(43, 7, QByteArray("6000000"));
        etat += " 16" + e.octets() + "\r\n";
    }
    double pireResume = 0, pireVisionneuse = 0;
    for (const auto& [nom, octets] : {std::pair{QStringLiteral("ER9034042.rmq"), erreurs},
                                      std::pair{QStringLiteral("EC0001.rmq"), etat}}) {
        const QString chemin = programme + "/Sauvramq/" + nom;
        fichiers::ecrireAtomique(chemin, octets);
        const auto lire = [&] { (void)fichiers::lire(chemin).size(); };
        const auto [resume, lecture] = enAlternance(
            [&] { (void)retours::resumer(nom, fichiers::lire(chemin), Horloge::aujourdhui()); }, lire, 7);
        const auto [visionneuse, lecture2] =
            enAlternance([&] { (void)affichageretour::AfficherRetour(chemin, muet); }, lire, 7);
        const QByteArray genre = nom.startsWith(QLatin1String("ER")) ? "erreurs" : "etat";
        chiffre("retour-resume-ratio-" + genre, resume / lecture, "x");
        chiffre("visionneuse-ratio-" + genre, visionneuse / lecture2, "x");
        pireResume = std::max(pireResume, resume / lecture);
        pireVisionneuse = std::max(pireVisionneuse, visionneuse / lecture2);
        fichiers::supprimer(chemin);
    }
    chiffre("retour-resume-ratio", pireResume, "x", 5);
    chiffre("visionneuse-ratio", pireVisionneuse, "x", 10);

    // (e) The archive search of one patient over 500 kept billings of 300 invoices: where every
    // invoice is the patient's, and where ten are.
    note(QStringLiteral("Recherche dans 500 facturations conservées..."));
    const QByteArray billing = plein.left(300 * facture::Longueur) + char(26);
    QByteArray autres = billing;
    for (int r = 0; r < 300; ++r)
        autres.replace(r * facture::Longueur + facture::Nam.colonne - 1, 12, QByteArray("GAGM75531213"));
    double pireRecherche = 0;
    for (const bool toutes : {true, false}) {
        const QString d = nouveauDossier(racine, QStringLiteral("archives"));
        QStringList chemins;
        for (int i = 0; i < 500; ++i) {
            QByteArray f = toutes ? billing : autres;
            if (!toutes && i % 50 == 0)
                f.replace(facture::Nam.colonne - 1, 12, QByteArray("TREM80011514"));
            chemins << QStringLiteral("%1/Sauvramq/D71%2").arg(d).arg(i, 5, 10, QLatin1Char('0'));
            poser(chemins.last(), f);
        }
        const QStringList conserves = archives::fichiersConserves(d);
        qsizetype trouvees = 0;
        const double recherche = secondes([&] {
            trouvees = archives::rechercher(d, conserves, QStringLiteral("TREM80011514")).enregistrements.size();
        }, 3);
        const double lecture = lireTous(chemins);
        if (trouvees != (toutes ? 150000 : 10)) {
            note(QStringLiteral("La recherche a trouvé %1 factures.").arg(trouvees));
            reussi = false;
        }
        chiffre(toutes ? "archives-recherche-toutes-s" : "archives-recherche-peu-s", recherche, "s");
        chiffre(toutes ? "archives-recherche-toutes-ratio" : "archives-recherche-peu-ratio", recherche / lecture, "x");
        pireRecherche = std::max(pireRecherche, recherche);
        QDir(d).removeRecursively();
    }
    chiffre("archives-recherche-s", pireRecherche, "s", 1.0);

    // (f) The statistics of a whole year for an optometrist who billed in every month, out of a
    // year of 20 000 invoices of two: each month read and laid out as the monthly window's list.
    note(QStringLiteral("Statistiques d'une année..."));
    QByteArray annee;
    for (int i = 0; i < 20000; ++i) {
        ValeursFacture s = uneFacture(i);
        s.dateService = QStringLiteral("2026%1%2")
                            .arg((i / 2) % 12 + 1, 2, 10, QLatin1Char('0'))
                            .arg((i / 24) % 28 + 1, 2, 10, QLatin1Char('0'));
        annee += statistique::construire(s);
    }
    const QString sta = programme + "/Sauvramq/STA2026.Dat";
    fichiers::ecrireAtomique(sta, annee);
    qsizetype rangeesAnnee = 0;
    const double statistiques = secondes([&] {
        rangeesAnnee = 0;
        for (int mois = 1; mois <= 12; ++mois) {
            const auto m = statmensuelle::lire(programme, uneFacture(0).professionnel, 2026, mois, configuration);
            rangeesAnnee += statmensuelle::rangees(m, configuration).size();
        }
    }, 3);
    chiffre("statistiques-annee-s", statistiques, "s", 0.5);
    chiffre("statistiques-annee-ratio", statistiques / lireTous({sta}, 5), "x");
    chiffre("statistiques-annee-rangees", double(rangeesAnnee), "rangees");

    // (g) The follow-up of two busy years: 500 kept billings of 300, each with an attestation of
    // its own, an error return refusing one invoice of each, and 100 statements of 300 paid
    // lines each; read, then shown in its window.
    note(QStringLiteral("Suivi de 150 000 factures envoyées..."));
    QStringList fichiersSuivi;
    for (int i = 0; i < 500; ++i) {
        const QByteArray attestation = QByteArray::number(6000000 + i);
        const QString nom = QStringLiteral("%1/Sauvramq/D71%2").arg(programme).arg(i, 5, 10, QLatin1Char('0'));
        poser(nom, facturationEstampillee(billing, 300, attestation));
        Enregistrement e(94);
        e.ecrireTexte(1, 3, QByteArray(" 25"));
        e.ecrireTexte(4, 7, attestation);
        e.ecrireTexte(11, 6, QByteArray("311111"));
        e.ecrireTexte(18, 4, QByteArray("0007"));
        e.ecrireTexte(22, 6, QByteArray("000007"));
        e.ecrireTexte(30, 62, QByteArray("NAM INVALIDE"));
        e.ecrireTexte(92, 3, QByteArray("123"));
        const QString er = QStringLiteral("%1/Sauvramq/ER%2.rmq").arg(programme, QString::fromLatin1(attestation));
        poser(er, " 21" + attestation + "  045\r\n" + e.octets() +
                      "\r\n 28       000001000300000299000001000000123456789\r\n");
        fichiersSuivi << nom << er;
    }
    for (int i = 0; i < 100; ++i) {
        QByteArray releve = " 1600       71234" + champs::nombre(i, 2) + "261201      261130\r\n";
        for (int r = 1; r <= 300; ++r) {
            Enregistrement e(60);
            e.ecrireTexte(1, 2, QByteArray("13"));
            e.ecrireTexte(5, 3, champs::nombre(r, 3));
            e.ecrireTexte(10, 5, "0" + champs::nombre(r, 4));
            e.ecrireTexte(15, 5, QByteArray("26030"));
            e.ecrireTexte(21, 4, QByteArray("0901"));
            e.ecrireTexte(34, 9, champs::nombre(2855, 9));
            e.ecrireTexte(43, 7, QByteArray::number(6000000 + i * 5));
            releve += " 16" + e.octets() + "\r\n";
        }
        const QString ec = QStringLiteral("%1/Sauvramq/EC%2.rmq").arg(programme).arg(i, 4, 10, QLatin1Char('0'));
        poser(ec, releve);
        fichiersSuivi << ec;
    }
    Horloge::fixer(QDateTime(QDate(2026, 12, 8), QTime(10, 0)));
    const double lectureSuivi = lireTous(fichiersSuivi);
    qsizetype lignesSuivi = 0;
    const double suiviLu = secondes([&] {
        lignesSuivi = suivi::filtrer(suivi::lire(programme, Horloge::aujourdhui()), suivi::Filtre{}).size();
    }, 3);
    chiffre("suivi-lecture-ratio", suiviLu / lectureSuivi, "x");
    const double fenetreSuivi = secondes([&] {
        (void)ouvrirFenetre([&] { return new frmSuiviFactures(programme, configuration, muet); });
    }, 3);
    Horloge::liberer();
    chiffre("suivi-ouverture-s", fenetreSuivi, "s", 1.0);
    if (lignesSuivi < 150000) {
        note(QStringLiteral("Le suivi n'a lu que %1 lignes.").arg(lignesSuivi));
        reussi = false;
    }

    if (!dossier.autoRemove())
        note(QStringLiteral("Dossier gardé: ") + racine);
    if (!reussi) {
        note(QStringLiteral("Une préparation ou une lecture a échoué."));
        return 1;
    }
    bool depasse = false;
    for (const Chiffre& f : chiffres)
        if (f.valeur > 3 * f.but) {
            note(QStringLiteral("%1 : %2 %3, plus de trois fois le but (%4 %3).")
                     .arg(QString::fromLatin1(f.cle))
                     .arg(f.valeur, 0, 'f', 3)
                     .arg(QLatin1String(f.unite))
                     .arg(f.but));
            depasse = true;
        }
    return depasse ? 1 : 0;
}
