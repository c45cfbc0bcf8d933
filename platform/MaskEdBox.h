#pragma once
#include <QLineEdit>

// A masked edit box taking a Basic-style mask: "#" a digit, "&" any character, "?" a letter;
// every other character is a literal. Unfilled positions show "_".
class MaskEdBox : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskEdBox(const QString& masque, QWidget* parent = nullptr);

    const QString& masque() const { return masque_; }
    // The content without the literal characters and without unfilled positions.
    QString clipText() const;
    void setClipText(const QString& texte);
    void vider() { setClipText(QString()); }

private:
    QString masque_;
};
