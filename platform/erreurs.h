#pragma once
#include <QString>
#include <exception>

// A failure of the file layer, carrying the number the program's handlers dispatch on:
// 6 overflow, 7 out of memory, 52 bad name, 53 file not found, 58 file already exists, 61 disk full, 62 input past end of file,
// 63 bad record number, 70 permission denied (or a file locked by another workstation),
// 71 disk not ready, 75 any other failure, 76 path not found. The description is French.
class ErreurFichier : public std::exception {
public:
    ErreurFichier(int numero, QString description, QString chemin = {});
    int numero() const { return numero_; }
    const QString& description() const { return description_; }
    const QString& chemin() const { return chemin_; }
    const char* what() const noexcept override { return quoi_.constData(); }

private:
    int numero_;
    QString description_;
    QString chemin_;
    QByteArray quoi_;
};

namespace erreurs {
constexpr int Depassement = 6;
constexpr int MemoireInsuffisante = 7;
constexpr int NomIncorrect = 52;
constexpr int FichierIntrouvable = 53;
constexpr int FichierExistant = 58;
constexpr int DisquePlein = 61;
constexpr int FinDeFichier = 62;
constexpr int NumeroIncorrect = 63;
constexpr int PermissionRefusee = 70;
constexpr int DisqueNonPret = 71;
constexpr int AccesChemin = 75;
constexpr int CheminIntrouvable = 76;

// The one mapping from a system error code (errno) met on `chemin` to the program's number
// and a French description naming the file and the cause.
ErreurFichier depuisSysteme(int codeSysteme, const QString& chemin);
// The error of `numero` on `chemin`, with the standard description.
ErreurFichier erreur(int numero, const QString& chemin);
// The standard description of an error number, in French.
QString description(int numero);
// "<description> : <file>", how a message names the failing file.
QString texte(const ErreurFichier& e);
}  // namespace erreurs
