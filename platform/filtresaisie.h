#pragma once
#include <QObject>
#include <functional>

class QWidget;

// The typing aids of a window's boxes: a lower-case a-z becomes its capital as it is typed or
// pasted; a character that the program's files cannot hold is refused where it is typed, never
// written as "?" later; and a box never cuts what it is given: typing past its field, or pasting
// more than it holds, is refused whole. Each refusal calls `refus` (a beep).
class FiltreSaisie : public QObject {
public:
    FiltreSaisie(QObject* parent, std::function<void()> refus) : QObject(parent), refus_(std::move(refus)) {}
    // For a box without an input mask, its maximum length is the length of its field.
    void installer(QWidget* boite);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    std::function<void()> refus_;
};
