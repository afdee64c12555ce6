#include "search/IstruzioniRicerca.h"

#include "archive/Archivio.h"

#include <QStringList>

namespace {

enum class Colonne { Finestra, ConTipo, Complete };

// Each condition a search puts on Posta, as the statements write it.
struct Condizioni
{
    explicit Condizioni(const CriteriRicerca& criteri)
        : periodo(QStringLiteral("data between(#") + DataPerIstruzione(criteri.dataIniziale)
                  + QStringLiteral("#) and (#") + DataPerIstruzione(criteri.dataFinale) + QStringLiteral("#)")),
          tipo(QStringLiteral("tipo='") + RaddoppiaApici(criteri.tipo.trimmed()) + QStringLiteral("'")),
          numero(QStringLiteral("NumDoc='") + RaddoppiaApici(criteri.numero.trimmed()) + QStringLiteral("'")),
          codice(QStringLiteral("Codice='") + RaddoppiaApici(criteri.codice.trimmed()) + QStringLiteral("'")),
          anno(QStringLiteral("year(data) =") + criteri.anno)
    {
    }
    QString periodo;
    QString tipo;
    QString numero;
    QString codice;
    QString anno;
};

QString istruzione(ModoRicerca modo, const CriteriRicerca& criteri, Colonne scelta)
{
    const bool tutti = criteri.TuttiITipi();
    const auto [periodo, tipo, numero, codice, anno] = Condizioni(criteri);

    const QString inizio = (tutti || scelta != Colonne::Finestra) ? QStringLiteral("Select Stampa, Tipo, ")
                                                                   : QStringLiteral("Select Stampa, ");
    const QString colonneData =
        QStringLiteral("NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where ");
    const QString colonneAnno = scelta == Colonne::Complete
        ? colonneData
        : QStringLiteral("NumDoc as Num_Documento, year(data) as anno, Codice as Clien_Forn, email from Posta where ");
    // With one type the statements carry a second blank after "where" and
    // list the documents by date and number.
    const auto perTipo = [&inizio](const QString& colonne, const QStringList& condizioni) {
        return inizio + colonne + QStringLiteral(" ") + condizioni.join(QStringLiteral(" and "))
            + QStringLiteral(" order by data, NumDoc;");
    };

    switch (modo) {
    case ModoRicerca::Periodo:
        if (tutti)
            return inizio + colonneData + periodo + QStringLiteral(" order by tipo, stampa, data;");
        return perTipo(colonneData, {periodo, tipo});
    case ModoRicerca::NumeroEAnno:
        if (tutti)
            return inizio + colonneAnno + anno + QStringLiteral(" and ") + numero
                + QStringLiteral(" order by tipo,data;");
        return perTipo(colonneAnno, {anno, numero, tipo});
    case ModoRicerca::CodiceEPeriodo:
        if (tutti)
            return inizio + colonneData + periodo + QStringLiteral("and ") + codice
                + QStringLiteral(" order by tipo,data;");
        return perTipo(colonneData, {periodo, tipo, codice});
    case ModoRicerca::PeriodoSenzaTipi:
        return QStringLiteral("Select Stampa, Tipo, data, email from Posta where ") + periodo
            + QStringLiteral(" order by tipo,data;");
    default:
        return {};
    }
}

} // namespace

QString IstruzioneDocumenti(ModoRicerca modo, const CriteriRicerca& criteri, bool blnTipoSempre)
{
    return istruzione(modo, criteri, blnTipoSempre ? Colonne::ConTipo : Colonne::Finestra);
}

QString IstruzioneRigheComplete(ModoRicerca modo, const CriteriRicerca& criteri)
{
    return istruzione(modo, criteri, Colonne::Complete);
}

QStringList CondizioniRicerca(ModoRicerca modo, const CriteriRicerca& criteri)
{
    const Condizioni c(criteri);
    QStringList condizioni;
    switch (modo) {
    case ModoRicerca::Periodo:
    case ModoRicerca::PeriodoSenzaTipi:
        condizioni = {c.periodo};
        break;
    case ModoRicerca::NumeroEAnno:
        condizioni = {c.anno, c.numero};
        break;
    case ModoRicerca::CodiceEPeriodo:
        condizioni = {c.periodo, c.codice};
        break;
    }
    if (!criteri.TuttiITipi() && modo != ModoRicerca::PeriodoSenzaTipi)
        condizioni.append(c.tipo);
    return condizioni;
}
