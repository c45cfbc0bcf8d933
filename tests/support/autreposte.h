#pragma once
#include <QProcess>
#include <QString>

// Another workstation holding the lock of a record file, in a process of its own, until
// `liberer()` (or the end of the object) kills it; the system then drops its lock.
class AutrePoste {
public:
    explicit AutrePoste(const QString& fichier);
    ~AutrePoste() { liberer(); }
    bool verrouille() const { return verrouille_; }
    void liberer();

private:
    QProcess p_;
    bool verrouille_ = false;
};
