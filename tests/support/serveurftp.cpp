#include "support/serveurftp.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

namespace {
const char* Script = R"(
import logging, os, sys
from pyftpdlib.log import config_logging
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import DTPHandler, FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer
config_logging(level=logging.WARNING)
racine, debit, certificat = sys.argv[1], int(sys.argv[2]), sys.argv[3]
a = DummyAuthorizer()
a.add_user("tollmark", "vorpel", racine, perm="elradfmwM")
h = FTPHandler
base = ThrottledDTPHandler if debit > 0 else DTPHandler
if certificat:  # explicit TLS offered (AUTH TLS), not required
    from pyftpdlib.handlers import TLS_FTPHandler, TLS_DTPHandler
    h = TLS_FTPHandler
    h.certfile = certificat
    base = TLS_DTPHandler
h.authorizer = a
class Dtp(base):
    read_limit = debit
    write_limit = debit
    # libcurl opens TLS on the data connection before sending STOR; pyftpdlib would take
    # that early handshake for a disconnection and close the channel.
    def readable(self):
        return getattr(self, "_ssl_accepting", False) or super().readable()
    # While the flag file is there, an upload is cut after 1000 bytes, as a dropped line would.
    def enable_receiving(self, type, cmd):
        super().enable_receiving(type, cmd)
        if os.path.exists(os.path.join(racine, ".couper")):
            self.file_obj = Coupe(self.file_obj)
class Coupe:
    def __init__(self, f):
        self.f, self.n = f, 0
    def write(self, octets):
        reste = 1000 - self.n
        self.n += len(octets)
        if reste < len(octets):
            self.f.write(octets[:max(reste, 0)])
            raise OSError(5, "ligne coupée")
        return self.f.write(octets)
    def __getattr__(self, nom):
        return getattr(self.f, nom)
h.dtp_handler = Dtp
s = FTPServer(("127.0.0.1", 0), h)
print(s.socket.getsockname()[1], flush=True)
s.serve_forever()
)";
}  // namespace

ServeurFtp::ServeurFtp(int debitOctets, const QString& certificat) : racine_(dossier_.path()) {
    QDir(racine_).mkpath("dp_ramq");
    QDir(racine_).mkpath("fich_ramq");
    processus_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    processus_.start("/usr/bin/python3", {"-c", Script, racine_, QString::number(debitOctets), certificat});
    if (!processus_.waitForStarted(10000) || !processus_.waitForReadyRead(15000))
        throw std::runtime_error("le serveur FTP de test n'a pas démarré");
    port_ = processus_.readLine().trimmed().toInt();
    if (port_ <= 0)
        throw std::runtime_error("le serveur FTP de test n'a pas donné son port");
}

ServeurFtp::~ServeurFtp() { arreter(); }

void ServeurFtp::couperLesEnvois(bool couper) {
    QFile flag(racine_ + "/.couper");
    if (couper)
        flag.open(QIODevice::WriteOnly);
    else
        flag.remove();
}

QString ServeurFtp::hote() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

void ServeurFtp::arreter() {
    if (processus_.state() != QProcess::NotRunning) {
        processus_.kill();
        processus_.waitForFinished(5000);
    }
}
