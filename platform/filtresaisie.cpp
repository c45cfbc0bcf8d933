#include "platform/filtresaisie.h"

#include "platform/MaskEdBox.h"
#include "records/encodage.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace {

QString majuscules(QString texte) {
    for (QChar& c : texte)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = c.toUpper();
    return texte;
}

}  // namespace

void FiltreSaisie::installer(QWidget* boite) {
    boite->installEventFilter(this);
    auto* edition = qobject_cast<QLineEdit*>(boite);
    if (!edition)
        return;
    if (auto* masque = qobject_cast<MaskEdBox*>(edition)) {
        connect(masque, &QLineEdit::textEdited, this, [masque] {
            const QString t = masque->clipText();
            if (t != majuscules(t)) {
                const int position = masque->cursorPosition();
                masque->setClipText(majuscules(t));
                masque->setCursorPosition(position);
            }
        });
        return;
    }
    // The field's length becomes a rule of the box: what does not fit is refused, never cut.
    const int largeur = edition->maxLength();
    edition->setMaxLength(32767);
    edition->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral(".{0,%1}").arg(largeur), QRegularExpression::DotMatchesEverythingOption),
        edition));
    connect(edition, &QLineEdit::inputRejected, this, [this] {
        if (refus_)
            refus_();
    });
    connect(edition, &QLineEdit::textEdited, this, [this, edition] {
        const QString t = edition->text();
        QString propre = majuscules(t);
        for (qsizetype i = propre.size() - 1; i >= 0; --i)
            if (!encodage::representable(propre.mid(i, 1)))
                propre.remove(i, 1);
        if (propre == t)
            return;
        const int position = edition->cursorPosition() - static_cast<int>(t.size() - propre.size());
        edition->setText(propre);
        edition->setCursorPosition(std::max(0, position));
        if (propre.size() != t.size() && refus_)
            refus_();
    });
}

bool FiltreSaisie::eventFilter(QObject* objet, QEvent* e) {
    if (e->type() != QEvent::KeyPress)
        return QObject::eventFilter(objet, e);
    auto* touche = static_cast<QKeyEvent*>(e);
    // A masked box keeps what fits its positions: a paste that does not fit is refused whole.
    if (auto* masque = qobject_cast<MaskEdBox*>(objet); masque && touche->matches(QKeySequence::Paste)) {
        const QString colle = masque->sansLitteraux(QApplication::clipboard()->text().trimmed());
        if (colle.size() > masque->positionsLibresDepuis(masque->cursorPosition())) {
            if (refus_)
                refus_();
            return true;
        }
        return QObject::eventFilter(objet, e);
    }
    const QString t = touche->text();
    if (t.size() == 1 && t.at(0) >= QLatin1Char('a') && t.at(0) <= QLatin1Char('z')) {
        QKeyEvent majuscule(QEvent::KeyPress, touche->key(), touche->modifiers(), t.toUpper(),
                            touche->isAutoRepeat(), touche->count());
        QCoreApplication::sendEvent(objet, &majuscule);
        return true;
    }
    if (!t.isEmpty() && t.at(0).isPrint() && !encodage::representable(t)) {
        if (refus_)
            refus_();
        return true;
    }
    return QObject::eventFilter(objet, e);
}
