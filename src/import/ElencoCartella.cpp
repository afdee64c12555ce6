#include "import/ElencoCartella.h"

#include "common/ErroreSistema.h"

#include <QFile>

#include <algorithm>
#include <chrono>
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
    return TestoErroreSistema(errore.value());
}

TipoVoce tipoDi(const fs::directory_entry& voce, const fs::path& cartella, fs::path* file = nullptr)
{
    std::error_code errore;
    if (!voce.is_symlink(errore)) {
        if (file)
            *file = voce.path();
        return voce.is_regular_file(errore) ? TipoVoce::Documento : TipoVoce::Altro;
    }
    const fs::path meta = fs::canonical(voce.path(), errore);
    if (errore || !fs::is_regular_file(meta, errore))
        return TipoVoce::Esterno;
    if (file)
        *file = meta;
    return meta.parent_path() == fs::canonical(cartella, errore) ? TipoVoce::Documento : TipoVoce::Esterno;
}

} // namespace

Errore ElencoCartella::Leggi(const QString& cartella)
{
    dati_.clear();
    voci_.clear();
    std::error_code errore;
    const fs::path radice = percorsoDa(cartella);
    fs::directory_iterator voce(radice, errore);
    if (errore)
        return {CodiceErrore::Cartella,
                QStringLiteral("Impossibile leggere la cartella %1: %2.").arg(cartella, testoErrore(errore))};
    for (const fs::directory_iterator fine; voce != fine; voce.increment(errore)) {
        const TipoVoce tipo = tipoDi(*voce, radice);
        if (tipo == TipoVoce::Altro)
            continue;
        const std::string nome = byteDelNome(voce->path().filename());
        voci_.push_back({quint32(dati_.size()), quint32(nome.size()), tipo == TipoVoce::Esterno});
        dati_.append(nome.data(), qsizetype(nome.size()));
    }
    if (errore)
        return {CodiceErrore::Cartella,
                QStringLiteral("Lettura della cartella %1 interrotta: %2.").arg(cartella, testoErrore(errore))};
    Ordina();
    return {};
}

void ElencoCartella::Imposta(const QList<QByteArray>& nomi)
{
    dati_.clear();
    voci_.clear();
    for (const QByteArray& nome : nomi) {
        voci_.push_back({quint32(dati_.size()), quint32(nome.size()), false});
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

bool ConCaratteriDiControllo(const QString& nome)
{
    return std::any_of(nome.cbegin(), nome.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

bool CartellaRaggiungibile(const QString& cartella)
{
    std::error_code errore;
    return fs::is_directory(percorsoDa(cartella), errore);
}

TipoVoce TipoNellaCartella(const QString& cartella, QByteArrayView nome, QString* file)
{
    const fs::path radice = percorsoDa(cartella);
    std::error_code errore;
    const fs::directory_entry voce(radice / fs::path(nome.toByteArray().toStdString()), errore);
    if (errore || !(voce.is_symlink(errore) || voce.exists(errore)))
        return TipoVoce::Mancante;
    fs::path percorso;
    const TipoVoce tipo = tipoDi(voce, radice, &percorso);
    if (file)
        *file = QFile::decodeName(QByteArray::fromStdString(percorso.string()));
    return tipo;
}

namespace {
qint64 modificataMs(const QString& cartella)
{
    std::error_code errore;
    const auto quando = fs::last_write_time(percorsoDa(cartella), errore);
    if (errore)
        return -1;
    return std::chrono::duration_cast<std::chrono::milliseconds>(quando.time_since_epoch()).count();
}
qint64 adessoMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               fs::file_time_type::clock::now().time_since_epoch())
        .count();
}
// Some file systems keep the time of a change to the second or two only: a
// change made within that much of the time taken cannot be told apart.
constexpr qint64 granaTempo = 2000;
} // namespace

ImprontaCartella::ImprontaCartella(const QString& cartella)
    : cartella_(cartella), modificata_(modificataMs(cartella))
{
    incerta_ = modificata_ < 0 || adessoMs() - modificata_ < granaTempo;
}

bool ImprontaCartella::Cambiata() const
{
    return incerta_ || modificataMs(cartella_) != modificata_;
}
