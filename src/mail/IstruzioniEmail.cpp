#include "mail/IstruzioniEmail.h"

#include "archive/Archivio.h"
#include "search/IstruzioniRicerca.h"

QString IstruzioneEmail(ModoRicerca modo, const CriteriRicerca& criteri)
{
    if (modo != ModoRicerca::PeriodoSenzaTipi)
        return IstruzioneDocumenti(modo, criteri, false);
    return QStringLiteral("Select Stampa, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta "
                          "where  data between(#")
        + DataPerIstruzione(criteri.dataIniziale) + QStringLiteral("#) and (#")
        + DataPerIstruzione(criteri.dataFinale) + QStringLiteral("#) order by tipo,data;");
}
