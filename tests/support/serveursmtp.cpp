#include "support/serveursmtp.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <stdexcept>

namespace {
const char* Script = R"(
import asyncio, base64, email, email.policy, json, os, ssl, sys
from aiosmtpd.smtp import SMTP
dossier, refuser, certificat = sys.argv[1], sys.argv[2] == "1", sys.argv[3]
contexte = None
if certificat:  # STARTTLS offered, not required
    contexte = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
    contexte.load_cert_chain(certificat)
class Recepteur:
    n = 0
    async def handle_RCPT(self, server, session, envelope, address, options):
        if refuser:
            return "550 destinataire refuse"
        envelope.rcpt_tos.append(address)
        return "250 OK"
    async def handle_DATA(self, server, session, envelope):
        m = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        corps = m.get_body(preferencelist=("plain",))
        pieces = [{"nom": p.get_filename(), "octets": base64.b64encode(p.get_payload(decode=True)).decode()}
                  for p in m.iter_attachments()]
        Recepteur.n += 1
        final = os.path.join(dossier, "%03d.json" % Recepteur.n)
        with open(final + ".tmp", "w") as f:
            json.dump({"de": envelope.mail_from, "a": envelope.rcpt_tos, "sujet": str(m["Subject"]),
                       "corps": corps.get_payload(decode=True).decode(corps.get_content_charset() or "ascii"),
                       "pieces": pieces}, f)
        os.rename(final + ".tmp", final)
        return "250 OK"
async def principal():
    serveur = await asyncio.get_running_loop().create_server(lambda: SMTP(Recepteur(), tls_context=contexte), "127.0.0.1", 0)
    print(serveur.sockets[0].getsockname()[1], flush=True)
    await serveur.serve_forever()
asyncio.run(principal())
)";
}  // namespace

ServeurSmtp::ServeurSmtp(bool refuser, const QString& certificat) {
    processus_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    processus_.start("/usr/bin/python3", {"-c", Script, dossier_.path(), refuser ? "1" : "0", certificat});
    if (!processus_.waitForStarted(10000) || !processus_.waitForReadyRead(15000))
        throw std::runtime_error("le serveur SMTP de test n'a pas démarré");
    port_ = processus_.readLine().trimmed().toInt();
    if (port_ <= 0)
        throw std::runtime_error("le serveur SMTP de test n'a pas donné son port");
}

ServeurSmtp::~ServeurSmtp() {
    processus_.kill();
    processus_.waitForFinished(5000);
}

QString ServeurSmtp::hote() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

QList<ServeurSmtp::Message> ServeurSmtp::messages() const {
    QList<Message> r;
    const QDir d(dossier_.path());
    for (const QString& nom : d.entryList({"*.json"}, QDir::Files, QDir::Name)) {
        QFile f(d.filePath(nom));
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
        Message m{o["de"].toString(), {}, o["sujet"].toString(), o["corps"].toString(), {}};
        for (const auto& a : o["a"].toArray())
            m.a << a.toString();
        for (const auto& v : o["pieces"].toArray()) {
            const QJsonObject p = v.toObject();
            m.pieces << Piece{p["nom"].toString(),
                              QByteArray::fromBase64(p["octets"].toString().toLatin1())};
        }
        r << m;
    }
    return r;
}
