#include "mail/IstruzioniEmail.h"

#include "archive/Archivio.h"
#include "search/IstruzioniRicerca.h"

QString IstruzioneEmail(int modo, const CriteriRicerca& criteri)
{
    if (modo != 5)
        return IstruzioneDocumenti(modo, criteri, false);
    return QStringLiteral("Select Stampa, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta "
                          "where  data between(#")
        + DataPerIstruzione(criteri.dataIniziale) + QStringLiteral("#) and (#")
        + DataPerIstruzione(criteri.dataFinale) + QStringLiteral("#) order by tipo,data;");
}
