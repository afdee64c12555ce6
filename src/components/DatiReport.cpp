#include "components/DatiReport.h"

#include "archive/Recordset.h"
#include "components/CampiDerivati.h"
#include "common/Testo.h"

#include <QHash>


namespace {
// Seconds count when a client disputes the time of a sending.
QString TestoCampoReport(const QVariant& valore)
{
    return TestoDelCampo(valore, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}
}

Risultato<DatiReport> LeggiDatiReport(const LayoutReport& layout, const QString& stringaConnessione,
                                      const QString& istruzione)
{
    Recordset righe;
    if (const Errore errore = righe.ApriSql(stringaConnessione, istruzione); errore.presente())
        return errore;
    QList<int> indici;
    QHash<qsizetype, CampoDerivato> derivati; // by column
    for (const auto& colonna : layout.colonne) {
        indici.append(righe.IndiceCampo(colonna.campo));
        const FabbricaCampo* fabbrica = indici.last() < 0 ? CampoDerivatoRegistrato(colonna.campo) : nullptr;
        if (!fabbrica)
            continue;
        Risultato<CampoDerivato> campo = (*fabbrica)(stringaConnessione);
        if (!campo)
            return campo.errore();
        derivati.insert(indici.size() - 1, *campo);
    }
    const int indiceGruppo = layout.campoGruppo.isEmpty() ? -2 : righe.IndiceCampo(layout.campoGruppo);
    for (qsizetype i = 0; i <= indici.size(); ++i) {
        const bool gruppo = i == indici.size();
        if ((gruppo ? indiceGruppo : indici[i]) == -1 && (gruppo || !derivati.contains(i)))
            return Errore{CodiceErrore::Report, QStringLiteral("Il data set non ha il campo ")
                              + (gruppo ? layout.campoGruppo : layout.colonne[i].campo) + QLatin1Char('.')};
    }
    const ValoreRiga valore = [&righe](const QString& campo) { return righe.Valore(campo); };
    DatiReport dati;
    while (!righe.FineFile()) {
        QStringList celle;
        celle.reserve(indici.size());
        for (qsizetype i = 0; i < indici.size(); ++i)
            celle.append(indici[i] >= 0 ? TestoCampoReport(righe.Valore(indici[i])) : derivati[i](valore));
        dati.righe.append(celle);
        dati.gruppi.append(indiceGruppo >= 0 ? TestoCampoReport(righe.Valore(indiceGruppo)) : QString());
        if (const Errore errore = righe.MoveNext(); errore.presente())
            return errore;
    }
    if (dati.righe.isEmpty())
        return Errore{CodiceErrore::Report, QStringLiteral("Il data set non ha righe.")};
    return dati;
}
