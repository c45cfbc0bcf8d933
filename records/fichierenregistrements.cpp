#include "records/fichierenregistrements.h"

#include "platform/erreurs.h"
#include "platform/fichierbrut.h"
#include "platform/fichiers.h"

#include <QDir>
#include <QFileInfo>

int FichierEnregistrements::delaiVerrouMs = 5000;

FichierEnregistrements::FichierEnregistrements(QString chemin, int longueur, int numeroMaximal,
                                               Verification verification)
    : chemin_(std::move(chemin)), longueur_(longueur), numeroMaximal_(numeroMaximal),
      verification_(verification) {}

int FichierEnregistrements::nombre() const {
    const QFileInfo info(chemin_);
    if (!info.exists()) {
        if (!info.dir().exists())
            throw erreurs::erreur(erreurs::CheminIntrouvable, chemin_);
        return 0;
    }
    return static_cast<int>(info.size() / longueur_);
}

QByteArray FichierEnregistrements::lire(int numero) const {
    if (numero < 1 || numero > nombre())
        throw erreurs::erreur(erreurs::NumeroIncorrect, chemin_);
    const QByteArray octets = FichierBrut(chemin_, FichierBrut::Mode::Lecture)
                                  .lire(static_cast<qint64>(numero - 1) * longueur_, longueur_);
    if (octets.size() != longueur_)
        throw erreurs::erreur(erreurs::FinDeFichier, chemin_);
    return octets;
}

void FichierEnregistrements::verifierLongueur(const QByteArray& octets) const {
    Q_ASSERT(octets.size() == longueur_);
    if (octets.size() != longueur_)
        throw ErreurFichier(erreurs::NumeroIncorrect,
                            QStringLiteral("Longueur d'enregistrement incorrecte"), chemin_);
}

void FichierEnregistrements::endommage(qint64 numero) const {
    throw ErreurFichier(
        erreurs::AccesChemin,
        QStringLiteral("Le fichier est endommagé à partir de l'enregistrement numéro %1 : ses "
                       "marques fixes manquent ou sa longueur n'est pas un nombre entier "
                       "d'enregistrements. Rien n'y a été écrit; communiquez avec le soutien "
                       "technique.")
            .arg(numero),
        chemin_);
}

void FichierEnregistrements::ecrire(int numero, const QByteArray& octets) {
    verifierLongueur(octets);
    const auto f = verrouiller(delaiVerrouMs);
    if (numero < 1 || numero > f->taille() / longueur_)
        throw erreurs::erreur(erreurs::NumeroIncorrect, chemin_);
    f->ecrire(static_cast<qint64>(numero - 1) * longueur_, octets);
    f->synchroniser();
}

bool FichierEnregistrements::remplacer(int numero, const QByteArray& attendu, const QByteArray& octets) {
    verifierLongueur(octets);
    const auto f = verrouiller(delaiVerrouMs);
    const qint64 position = static_cast<qint64>(numero - 1) * longueur_;
    if (numero < 1 || numero > f->taille() / longueur_ || f->lire(position, longueur_) != attendu)
        return false;
    f->ecrire(position, octets);
    f->synchroniser();
    return true;
}

int FichierEnregistrements::ajouter(const QByteArray& octets) {
    const auto f = verrouiller(delaiVerrouMs);
    return ajouter(*f, octets);
}

int FichierEnregistrements::ajouter(FichierBrut& f, const QByteArray& octets) {
    if (octets.isEmpty() || octets.size() % longueur_ != 0)
        verifierLongueur(octets);  // not whole records: refused
    const qint64 taille = f.taille();
    const qint64 numero = taille / longueur_ + 1;
    if (verification_) {
        if (taille % longueur_ != 0)
            endommage(numero);
        if (numero > 1 && !verification_(f.lire(taille - longueur_, longueur_)))
            endommage(numero - 1);
    }
    if (numero + octets.size() / longueur_ - 1 > numeroMaximal_)
        throw erreurs::erreur(erreurs::Depassement, chemin_);
    try {
        f.ecrire((numero - 1) * longueur_, octets);
        if (synchroniser_)
            f.synchroniser();
    } catch (const ErreurFichier&) {
        try {
            f.tronquer(taille);
        } catch (const ErreurFichier&) {
            // the first failure is the one the user must hear of
        }
        throw;
    }
    return static_cast<int>(numero);
}

void FichierEnregistrements::reecrire(const std::function<QByteArray(const QByteArray& actuel)>& nouveau) {
    fichiers::reecrireSousVerrou(chemin_, delaiVerrouMs, nouveau);
}

std::unique_ptr<FichierBrut> FichierEnregistrements::verrouiller(int delaiMs) const {
    return fichiers::verrouillerAuChemin(chemin_, delaiMs);
}

void FichierEnregistrements::parcourir(
    const FichierBrut& ouvert, const std::function<void(QByteArrayView enregistrements)>& bloc) const {
    constexpr qint64 ParBloc = 1024;
    const qint64 taille = ouvert.taille();
    QByteArray tampon;
    for (qint64 position = 0; position < taille; position += ParBloc * longueur_) {
        ouvert.lireDans(position, std::min(ParBloc * longueur_, taille - position), tampon);
        const QByteArrayView vue(tampon);
        const qsizetype entiers = vue.size() - vue.size() % longueur_;
        if (verification_)
            for (qsizetype p = 0; p < entiers; p += longueur_)
                if (!verification_(vue.sliced(p, longueur_)))
                    endommage((position + p) / longueur_ + 1);
        if (entiers != vue.size())
            endommage((position + entiers) / longueur_ + 1);
        bloc(vue);
    }
}
