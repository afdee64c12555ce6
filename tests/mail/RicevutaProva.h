#pragma once

#include <QByteArray>
#include <QString>

// Certified-mail receipts as a provider would send them, for the tests: the
// daticert.xml, the message around it, and the same signed with a CA of the
// tests' own made by openssl.
struct RicevutaProva
{
    QString tipo;  // "accettazione", "avvenuta-consegna"...
    QString msgid; // <...> of the message sent
    QString consegna = {};
    QString identificativo = {};
    QString errore = QStringLiteral("nessuno");
    QString erroreEsteso = {};
};

// The whole message, unsigned.
QByteArray MessaggioRicevutaProva(const RicevutaProva& r);

// A CA and a provider's certificate signed by it, made in `cartella`.
class EnteProva
{
public:
    explicit EnteProva(const QString& cartella);
    QString FileCA() const; // what the user gives in the settings
    // The message signed (multipart/signed) with the provider's key.
    QByteArray Firmato(const RicevutaProva& r) const;
    QString errore;

private:
    QString cartella_;
};
