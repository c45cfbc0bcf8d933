#pragma once
#include <QLineEdit>

// A masked edit box taking a Basic-style mask: "#" a digit, "&" any character, "?" a letter;
// every other character is a literal. Unfilled positions show "_". A click never puts the
// cursor past what was typed, so nothing typed falls on a position that refuses it; a
// character the mask refuses is signalled, never dropped silently.
class MaskEdBox : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskEdBox(const QString& masque, QWidget* parent = nullptr);

    const QString& masque() const { return masque_; }
    // The content without the literal characters and without unfilled positions.
    QString clipText() const;
    void setClipText(const QString& texte);
    void vider() { setClipText(QString()); }
    // The first input position not yet filled (the length of the text when all are).
    int premierePositionLibre() const;
    // How many input positions there are from `position` to the end, literals not counted
    // (selected text counts as free).
    int positionsLibresDepuis(int position) const;
    // `texte` without the characters the mask writes itself ("/" of a date, the blank of a postal code).
    QString sansLitteraux(const QString& texte) const;

signals:
    void caractereRefuse();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QString masque_;
};
