#include "search/CercaDocumenti.h"

#include "archive/Archivio.h"
#include "archive/Recordset.h"
#include "common/Testo.h"
#include "search/IstruzioniRicerca.h"

#include <QStringList>

Errore CercaDocumenti(const QString& database, ModoRicerca modo, const CriteriRicerca& criteri,
                              const std::function<void(const QString&)>& riga)
{
    Recordset documenti;
    Errore errore = documenti.ApriSql(StringaConnessione(database), IstruzioneRigheComplete(modo, criteri));
    constexpr int campi = 5; // Stampa, Tipo, NumDoc, data, Codice
    while (!errore.presente() && !documenti.FineFile()) {
        QStringList valori;
        for (int i = 0; i < campi; ++i)
            valori.append(TestoDelCampo(documenti.Valore(i)));
        riga(valori.join(QLatin1Char('\t')));
        errore = documenti.MoveNext();
    }
    return errore;
}
