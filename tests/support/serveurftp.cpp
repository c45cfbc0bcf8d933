#include "support/serveurftp.h"

#include <QDir>
#include <stdexcept>

namespace {
const char* Script = R"(
import logging, sys
from pyftpdlib.log import config_logging
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer
config_logging(level=logging.WARNING)
racine, debit = sys.argv[1], int(sys.argv[2])
a = DummyAuthorizer()
a.add_user("tollmark", "vorpel", racine, perm="elradfmwM")
h = FTPHandler
h.authorizer = a
if debit > 0:
    d = ThrottledDTPHandler
    d.read_limit = debit
    d.write_limit = debit
    h.dtp_handler = d
s = FTPServer(("127.0.0.1", 0), h)
print(s.socket.getsockname()[1], flush=True)
s.serve_forever()
)";
}  // namespace

ServeurFtp::ServeurFtp(int debitOctets) : racine_(dossier_.path()) {
    QDir(racine_).mkpath("dp_ramq");
    QDir(racine_).mkpath("fich_ramq");
    processus_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    processus_.start("/usr/bin/python3", {"-c", Script, racine_, QString::number(debitOctets)});
    if (!processus_.waitForStarted(10000) || !processus_.waitForReadyRead(15000))
        throw std::runtime_error("le serveur FTP de test n'a pas démarré");
    port_ = processus_.readLine().trimmed().toInt();
    if (port_ <= 0)
        throw std::runtime_error("le serveur FTP de test n'a pas donné son port");
}

ServeurFtp::~ServeurFtp() { arreter(); }

QString ServeurFtp::hote() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

void ServeurFtp::arreter() {
    if (processus_.state() != QProcess::NotRunning) {
        processus_.kill();
        processus_.waitForFinished(5000);
    }
}
