#include "import/ElencoCartella.h"

#include <QFile>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path percorsoDa(const QString& cartella)
{
    return fs::path(QFile::encodeName(cartella).toStdString());
}

// The name as bytes, the form the folder listing keeps.
std::string byteDelNome(const fs::path& nome)
{
    if constexpr (std::is_same_v<fs::path::value_type, char>) {
        return nome.native();
    } else {
        const auto utf8 = nome.u8string();
        return std::string(utf8.begin(), utf8.end());
    }
}

QString testoErrore(const std::error_code& errore)
{
    return QString::fromLocal8Bit(errore.message());
}

} // namespace

QString ElencoCartella::Leggi(const QString& cartella)
{
    dati_.clear();
    voci_.clear();
    std::error_code errore;
    fs::directory_iterator voce(percorsoDa(cartella), errore);
    if (errore)
        return QStringLiteral("Impossibile leggere la cartella %1: %2.")
            .arg(cartella, testoErrore(errore));
    for (const fs::directory_iterator fine; voce != fine; voce.increment(errore)) {
        std::error_code tipo;
        if (!voce->is_regular_file(tipo))
            continue;
        const std::string nome = byteDelNome(voce->path().filename());
        voci_.push_back({quint32(dati_.size()), quint32(nome.size())});
        dati_.append(nome.data(), qsizetype(nome.size()));
    }
    if (errore)
        return QStringLiteral("Lettura della cartella %1 interrotta: %2.")
            .arg(cartella, testoErrore(errore));
    Ordina();
    return {};
}

void ElencoCartella::Imposta(const QList<QByteArray>& nomi)
{
    dati_.clear();
    voci_.clear();
    for (const QByteArray& nome : nomi) {
        voci_.push_back({quint32(dati_.size()), quint32(nome.size())});
        dati_.append(nome);
    }
    Ordina();
    const char* base = dati_.constData();
    voci_.erase(std::unique(voci_.begin(), voci_.end(),
                            [base](const Voce& a, const Voce& b) {
                                return QByteArrayView(base + a.inizio, a.lunghezza)
                                    == QByteArrayView(base + b.inizio, b.lunghezza);
                            }),
                voci_.end());
}

void ElencoCartella::Ordina()
{
    voci_.shrink_to_fit();
    const char* base = dati_.constData();
    std::sort(voci_.begin(), voci_.end(), [base](const Voce& a, const Voce& b) {
        return QByteArrayView(base + a.inizio, a.lunghezza)
            < QByteArrayView(base + b.inizio, b.lunghezza);
    });
}

qsizetype ElencoCartella::Indice(QByteArrayView nome) const
{
    const char* base = dati_.constData();
    const auto trovato = std::lower_bound(voci_.begin(), voci_.end(), nome,
                                          [base](const Voce& v, QByteArrayView cercato) {
                                              return QByteArrayView(base + v.inizio, v.lunghezza)
                                                  < cercato;
                                          });
    if (trovato == voci_.end() || QByteArrayView(base + trovato->inizio, trovato->lunghezza) != nome)
        return -1;
    return trovato - voci_.begin();
}

bool CartellaRaggiungibile(const QString& cartella)
{
    std::error_code errore;
    return fs::is_directory(percorsoDa(cartella), errore);
}

bool FilePresente(const QString& cartella, QByteArrayView nome)
{
    std::error_code errore;
    return fs::is_regular_file(percorsoDa(cartella) / fs::path(nome.toByteArray().toStdString()),
                               errore);
}
