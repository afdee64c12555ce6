#include "avvio/AttivazioneProgramma.h"

#include "avvio/EliminaFileTemp.h"
#include "common/CartellaProgramma.h"
#include "common/Testo.h"
#include "settings/FileIni.h"
#include "settings/Impostazioni.h"

namespace {

const QString sezione = QStringLiteral("EliminaTemp");
const QString chiave = QStringLiteral("Durata");
constexpr qint16 durataPredefinita = 7;

bool ScriviDurataPredefinita()
{
    return ScriviValoreIni(PercorsoVelmiraIni(), sezione, chiave,
                           QString::number(durataPredefinita));
}

// The retention period in days that a Durata text stands for.
qint16 DurataDaTesto(const QString& testo)
{
    const std::optional<qint16> valore = Intero16DaTesto(testo);
    return valore && *valore >= 0 ? *valore : durataPredefinita;
}

} // namespace

bool AttivazioneProgramma(const QDateTime& adesso)
{
    if (!EsisteVelmiraIni())
        return ScriviDurataPredefinita();

    bool scritto = true;
    const QString testo = LeggiIni(sezione, chiave);
    if (testo.isEmpty())
        scritto = ScriviDurataPredefinita();

    EliminaFileTemp(UnisciPercorso(CartellaProgramma(), QStringLiteral("elenchi")),
                    DurataDaTesto(testo), adesso);
    return scritto;
}
