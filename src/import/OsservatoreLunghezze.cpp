#include "import/OsservatoreLunghezze.h"

#include <QFile>

#include <system_error>

Errore OsservatoreLunghezze::Aggiorna()
{
    const std::filesystem::path percorso(QFile::encodeName(fileIni_).toStdString());
    std::error_code errore;
    const auto modificato = std::filesystem::last_write_time(percorso, errore);
    const auto dimensione = errore ? 0 : std::filesystem::file_size(percorso, errore);
    if (letto_ && !errore && modificato == modificato_ && dimensione == dimensione_)
        return {};
    const Risultato<LunghezzeCampi> letti = LeggiLunghezzeCampi(fileIni_);
    if (!letti) {
        letto_ = false;
        return letti.errore();
    }
    lunghezze_ = *letti;
    letto_ = !errore;
    modificato_ = modificato;
    dimensione_ = dimensione;
    return {};
}
