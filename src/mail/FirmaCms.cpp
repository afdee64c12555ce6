#include "mail/FirmaCms.h"

#include <QFile>

#include <openssl/bio.h>
#include <openssl/cms.h>
#include <openssl/x509.h>

#include <memory>

namespace {

struct Libera
{
    void operator()(BIO* b) const { BIO_free(b); }
    void operator()(CMS_ContentInfo* c) const { CMS_ContentInfo_free(c); }
    void operator()(X509_STORE* s) const { X509_STORE_free(s); }
};

template <typename T>
using Proprio = std::unique_ptr<T, Libera>;

Proprio<BIO> memoria(const QByteArray& dati)
{
    return Proprio<BIO>(BIO_new_mem_buf(dati.constData(), int(dati.size())));
}

// The signature covers the part in its canonical form, lines ending in CRLF,
// whatever the mailbox made of them.
QByteArray canonica(const QByteArray& parte)
{
    QByteArray testo = parte;
    testo.replace("\r\n", "\n");
    return testo.replace("\n", "\r\n");
}

EsitoFirma verifica(X509_STORE* certificati, const QByteArray& parte, const QByteArray& firma)
{
    if (parte.isEmpty() || firma.isEmpty())
        return EsitoFirma::NonValida;
    const Proprio<BIO> der = memoria(firma);
    const Proprio<CMS_ContentInfo> cms(der ? d2i_CMS_bio(der.get(), nullptr) : nullptr);
    const QByteArray contenuto = canonica(parte);
    const Proprio<BIO> dati = memoria(contenuto);
    if (!cms || !dati)
        return EsitoFirma::NonValida;
    return CMS_verify(cms.get(), nullptr, certificati, dati.get(), nullptr, CMS_BINARY) == 1 ? EsitoFirma::Verificata
                                                                                             : EsitoFirma::NonValida;
}

} // namespace

Risultato<VerificaFirma> VerificaConCertificati(const QString& fileCA)
{
    if (fileCA.trimmed().isEmpty())
        return VerificaFirma([](const QByteArray&, const QByteArray&) { return EsitoFirma::NonVerificata; });
    std::shared_ptr<X509_STORE> certificati(X509_STORE_new(), Libera());
    if (!QFile::exists(fileCA) || !certificati
        || X509_STORE_load_file(certificati.get(), QFile::encodeName(fileCA).constData()) != 1)
        return Errore{CodiceErrore::Casella,
                      QStringLiteral("Il file dei certificati dei gestori di posta certificata %1 non è leggibile.").arg(fileCA)};
    return VerificaFirma([certificati](const QByteArray& parte, const QByteArray& firma) {
        return verifica(certificati.get(), parte, firma);
    });
}
