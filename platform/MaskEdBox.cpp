#include "platform/MaskEdBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace {

constexpr QChar Invite = QLatin1Char('_');

bool estPosition(QChar c) {
    return c == QLatin1Char('#') || c == QLatin1Char('&') || c == QLatin1Char('?');
}

QString masqueQt(const QString& masque) {
    QString qt;
    for (const QChar c : masque) {
        if (c == QLatin1Char('#'))
            qt += QLatin1Char('0');
        else if (c == QLatin1Char('&'))
            qt += QLatin1Char('x');
        else if (c == QLatin1Char('?'))
            qt += QLatin1Char('a');
        else if (QStringLiteral("AaNnXx90DdHhBb><!#[]{}\\").contains(c))
            qt += QLatin1Char('\\') + c;
        else
            qt += c;
    }
    return qt + QLatin1Char(';') + Invite;
}

}  // namespace

MaskEdBox::MaskEdBox(const QString& masque, QWidget* parent) : QLineEdit(parent), masque_(masque) {
    setInputMask(masqueQt(masque));
}

QString MaskEdBox::clipText() const {
    const QString affiche = displayText();
    QString r;
    for (int i = 0; i < masque_.size() && i < affiche.size(); ++i)
        if (estPosition(masque_.at(i)) && affiche.at(i) != Invite && affiche.at(i) != QLatin1Char(' '))
            r += affiche.at(i);
    return r;
}

void MaskEdBox::setClipText(const QString& texte) {
    // Place the characters into the input positions, skipping the literals.
    QString complet;
    int k = 0;
    for (const QChar c : masque_) {
        if (estPosition(c))
            complet += k < texte.size() ? texte.at(k++) : QLatin1Char(' ');
        else
            complet += c;
    }
    setText(complet);
}

int MaskEdBox::premierePositionLibre() const {
    const QString affiche = displayText();
    for (int i = 0; i < masque_.size() && i < affiche.size(); ++i)
        if (estPosition(masque_.at(i)) && (affiche.at(i) == Invite || affiche.at(i) == QLatin1Char(' ')))
            return i;
    return static_cast<int>(masque_.size());
}

int MaskEdBox::positionsLibresDepuis(int position) const {
    if (hasSelectedText())
        position = std::min(position, selectionStart());
    int n = 0;
    for (int i = std::max(0, position); i < masque_.size(); ++i)
        n += estPosition(masque_.at(i));
    return n;
}

QString MaskEdBox::sansLitteraux(const QString& texte) const {
    QString r;
    for (const QChar c : texte) {
        bool litteral = false;
        for (const QChar m : masque_)
            litteral = litteral || (!estPosition(m) && m == c);
        if (!litteral)
            r += c;
    }
    return r;
}

void MaskEdBox::mousePressEvent(QMouseEvent* e) {
    QLineEdit::mousePressEvent(e);
    if (e->button() == Qt::LeftButton && !hasSelectedText())
        setCursorPosition(std::min(cursorPosition(), premierePositionLibre()));
}

void MaskEdBox::mouseReleaseEvent(QMouseEvent* e) {
    QLineEdit::mouseReleaseEvent(e);
    if (e->button() == Qt::LeftButton && !hasSelectedText())
        setCursorPosition(std::min(cursorPosition(), premierePositionLibre()));
}

void MaskEdBox::keyPressEvent(QKeyEvent* e) {
    const QString avant = text();
    const int position = cursorPosition();
    QLineEdit::keyPressEvent(e);
    const QString t = e->text();
    const bool caractere = t.size() == 1 && t.at(0).isPrint() &&
                           !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (caractere && text() == avant && cursorPosition() == position)
        emit caractereRefuse();
}
