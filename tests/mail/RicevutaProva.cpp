#include "RicevutaProva.h"

#include <QDir>
#include <QProcess>

namespace {

QByteArray intestazioni(const RicevutaProva& r)
{
    return "From: posta-certificata@pec.gestore.it\r\nX-Ricevuta: " + r.tipo.toUtf8() + "\r\nX-Riferimento-Message-ID: "
        + r.msgid.toUtf8() + "\r\nSubject: " + r.tipo.toUpper().toUtf8() + ": Fattura\r\nMIME-Version: 1.0\r\n";
}

bool openssl(const QStringList& argomenti, QString& errore, const QByteArray& ingresso = {}, QByteArray* uscita = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("openssl"), argomenti);
    p.write(ingresso);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    if (uscita)
        *uscita = p.readAllStandardOutput();
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    errore = QString::fromLocal8Bit(p.readAllStandardError());
    return false;
}

} // namespace

// daticert.xml, every receipt dated 15/03/2014 10:31:07.
static QByteArray DatiCertProva(const RicevutaProva& r)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<postacert tipo=\"%1\" errore=\"%2\">\n"
                                 "<intestazione><mittente>ufficio@esempio.it</mittente>"
                                 "<destinatari tipo=\"certificato\">%3</destinatari><oggetto>Fattura</oggetto></intestazione>\n"
                                 "<dati><gestore-emittente>Gestore di prova</gestore-emittente>"
                                 "<data zona=\"+0100\"><giorno>15/03/2014</giorno><ora>10:31:07</ora></data>\n"
                                 "<identificativo>%4</identificativo><msgid>%5</msgid>")
                      .arg(r.tipo, r.errore, r.consegna, r.identificativo, r.msgid.toHtmlEscaped());
    if (!r.consegna.isEmpty())
        xml += QStringLiteral("<consegna>%1</consegna>").arg(r.consegna);
    if (!r.erroreEsteso.isEmpty())
        xml += QStringLiteral("<errore-esteso>%1</errore-esteso>").arg(r.erroreEsteso.toHtmlEscaped());
    return (xml + QStringLiteral("</dati>\n</postacert>\n")).toUtf8();
}

// The part a provider signs: a text and daticert.xml.
static QByteArray ContenutoRicevuta(const RicevutaProva& r)
{
    return "Content-Type: multipart/mixed; boundary=\"interno\"\r\n\r\n--interno\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n"
           "Ricevuta di " + r.tipo.toUtf8() + "\r\n--interno\r\nContent-Type: application/xml; name=\"daticert.xml\"\r\n"
           "Content-Transfer-Encoding: base64\r\n\r\n" + DatiCertProva(r).toBase64() + "\r\n--interno--\r\n";
}

QByteArray MessaggioRicevutaProva(const RicevutaProva& r)
{
    return intestazioni(r) + ContenutoRicevuta(r);
}

EnteProva::EnteProva(const QString& cartella)
    : cartella_(cartella)
{
    QDir().mkpath(cartella);
    const QString ca = cartella + "/ca", gestore = cartella + "/gestore";
    (void)(openssl({"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "30", "-subj", "/CN=CA di prova", "-keyout",
                    ca + ".key", "-out", ca + ".pem"}, errore)
           && openssl({"req", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=Gestore di prova", "-keyout", gestore + ".key",
                       "-out", gestore + ".csr"}, errore)
           && openssl({"x509", "-req", "-in", gestore + ".csr", "-CA", ca + ".pem", "-CAkey", ca + ".key", "-CAcreateserial",
                       "-days", "30", "-out", gestore + ".pem"}, errore));
}

QString EnteProva::FileCA() const
{
    return cartella_ + "/ca.pem";
}

QByteArray EnteProva::Firmato(const RicevutaProva& r) const
{
    QByteArray firmato;
    QString errore;
    if (!openssl({"smime", "-sign", "-signer", cartella_ + "/gestore.pem", "-inkey", cartella_ + "/gestore.key", "-crlfeol"},
                 errore, ContenutoRicevuta(r), &firmato))
        return {};
    // openssl starts with its own MIME-Version; the provider's headers go first.
    return intestazioni(r) + firmato.mid(firmato.indexOf("Content-Type:"));
}
