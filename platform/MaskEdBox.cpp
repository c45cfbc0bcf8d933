#include "platform/MaskEdBox.h"

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
