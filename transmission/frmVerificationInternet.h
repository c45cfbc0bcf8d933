#pragma once
#include <QDialog>

// Shown while the communication window talks to the server; no behaviour of its own.
class frmVerificationInternet : public QDialog {
    Q_OBJECT
public:
    explicit frmVerificationInternet(QWidget* parent = nullptr);
};
