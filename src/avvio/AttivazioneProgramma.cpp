#include "avvio/AttivazioneProgramma.h"

#include "avvio/EliminaFileTemp.h"
#include "common/CartellaProgramma.h"
#include "common/Testo.h"
#include "settings/FileIni.h"
#include "settings/Impostazioni.h"

#include <limits>

namespace {

const QString sezione = QStringLiteral("EliminaTemp");
const QString chiave = QStringLiteral("Durata");
constexpr qint16 durataPredefinita = 7;

bool ScriviDurataPredefinita()
{
    return ScriviValoreIni(PercorsoVelmiraIni(), sezione, chiave,
                           QString::number(durataPredefinita));
}

// The retention period in days that a Durata text stands for: the text made
// a 16-bit whole number as any number of the settings is (7.6 is 8 days), a
// negative period included (every list goes). A text that is no number, or
// one out of range, counts as 7 and is left as written.
qint16 DurataDaTesto(const QString& testo)
{
    const std::optional<qint32> valore = InteroDaTesto(testo);
    if (!valore || *valore < std::numeric_limits<qint16>::min()
        || *valore > std::numeric_limits<qint16>::max())
        return durataPredefinita;
    return qint16(*valore);
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

    EliminaFileTemp(UnisciPercorso(CartellaProgramma(UsoCartella::Dati), QStringLiteral("elenchi")),
                    DurataDaTesto(testo), adesso);
    return scritto;
}
