#pragma once
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

// Proportional resizing: the controls placed by hand in a window's area keep their places and
// sizes in proportion to the area's size. Each size is computed from the geometry remembered at
// the design size, never from the current one, so no rounding accumulates and the design size
// gives back the design places exactly. Usable by any window whose controls are not in layouts.
class Redimensionnement : public QObject {
public:
    // Remembers the controls of `zone` as they stand for the design size `conception`, then
    // follows every resize of `zone` (also when it is first shown maximised).
    Redimensionnement(QWidget* zone, QSize conception);

    // Places every control for the zone's current size.
    void RedimensionnerFeuille();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void retenir(QWidget* parent);

    struct Controle {
        QPointer<QWidget> widget;
        QRect conception;
    };
    QWidget* zone_;
    QSize reference_;
    QList<Controle> controles_;
    bool occupe_ = false;
};
