#pragma once
#include <QObject>
#include <functional>

class QWidget;

// The typing aids of a window's boxes: a lower-case a-z becomes its capital as it is typed, and
// a character that the program's files cannot hold is refused where it is typed (`refus` is
// called: a beep), never written as "?" later.
class FiltreSaisie : public QObject {
public:
    FiltreSaisie(QObject* parent, std::function<void()> refus) : QObject(parent), refus_(std::move(refus)) {}
    void installer(QWidget* boite);

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    std::function<void()> refus_;
};
