#pragma once
#include <QString>

class DossierTemporaire;

// A self-signed certificate for 127.0.0.1 made by openssl in `d`: "<nom>.crt" is the certificate
// (the authority a client is pointed at), the path returned is "<nom>.pem", key and certificate
// together, for a test server.
QString certificatDeTest(const DossierTemporaire& d, const QString& nom);
