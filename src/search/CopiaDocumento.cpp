#include "search/CopiaDocumento.h"

#include "common/ErroreSistema.h"

#include <QCoreApplication>
#include <QFile>

#include <atomic>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path Percorso(const QString& testo)
{
    return fs::path(QFile::encodeName(testo).toStdString());
}

// The system does not always say "no space" when a copy runs out of it (a
// short write may come back as a plain I/O error), so the free space left
// beside the destination decides.
RisultatoCopia Fallita(const std::error_code& codice, const fs::path& origine, const fs::path& arrivo)
{
    std::error_code erroreDimensione;
    std::error_code erroreSpazio;
    const auto dimensione = fs::file_size(origine, erroreDimensione);
    const auto spazio = fs::space(arrivo.parent_path().empty() ? fs::path(".") : arrivo.parent_path(), erroreSpazio);
    const bool esaurito = codice == std::errc::no_space_on_device
        || (!erroreDimensione && !erroreSpazio && spazio.available < dimensione);
    return {esaurito ? EsitoCopia::SpazioEsaurito : EsitoCopia::Errore, TestoErroreSistema(codice.value())};
}

} // namespace

RisultatoCopia CopiaDocumento(const QString& sorgente, const QString& destinazione)
{
    static std::atomic<unsigned> progressivo{0};
    const fs::path origine = Percorso(sorgente);
    const fs::path arrivo = Percorso(destinazione);
    // A hidden name of its own, so that two programs copying the same
    // document never write into each other's temporary file.
    const fs::path provvisorio = arrivo.parent_path()
        / Percorso(QStringLiteral(".%1.%2-%3.parziale")
                       .arg(QFile::decodeName(arrivo.filename().c_str()))
                       .arg(QCoreApplication::applicationPid())
                       .arg(progressivo++));

    std::error_code codice;
    fs::copy_file(origine, provvisorio, fs::copy_options::overwrite_existing, codice);
    if (!codice)
        fs::rename(provvisorio, arrivo, codice);
    if (codice) {
        std::error_code ignorato;
        fs::remove(provvisorio, ignorato);
        return Fallita(codice, origine, arrivo);
    }
    return {};
}
