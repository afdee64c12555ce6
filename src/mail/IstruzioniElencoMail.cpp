#include "mail/IstruzioniElencoMail.h"

#include "archive/Archivio.h"

namespace {
QString Valore(const QString& testo)
{
    return RaddoppiaApici(testo.trimmed());
}
}

QString IstruzioneElencoMail(ModoRicerca modo, const CriteriRicerca& criteri)
{
    const QString dal = DataPerIstruzione(criteri.dataIniziale);
    const QString al = DataPerIstruzione(criteri.dataFinale);
    const QString tipo = Valore(criteri.tipo);
    const bool tutti = criteri.TuttiITipi() || modo == ModoRicerca::PeriodoSenzaTipi;
    // The blanks differ from statement to statement, one by one as the list
    // always sent them.
    switch (modo) {
    case ModoRicerca::Periodo:
    case ModoRicerca::PeriodoSenzaTipi:
        if (tutti)
            return QStringLiteral("Select * from qryEmail where data between(#") + dal + QStringLiteral("#) and (#")
                + al + QStringLiteral("#) order by codice, dtInvio;");
        return QStringLiteral("Select * from qryEmail where  data between(#") + dal + QStringLiteral("#) and (#") + al
            + QStringLiteral("#) and tipo='") + tipo + QStringLiteral("' order by codice, dtInvio;");
    case ModoRicerca::NumeroEAnno:
        if (tutti)
            return QStringLiteral("Select * from qryEmail where year(data) =") + criteri.anno
                + QStringLiteral(" and NumDoc='") + Valore(criteri.numero) + QStringLiteral("' order by codice,dtInvio;");
        return QStringLiteral("Select * from qryEmail  where  year(data) =") + criteri.anno
            + QStringLiteral(" and NumDoc='") + Valore(criteri.numero) + QStringLiteral("' and tipo='") + tipo
            + QStringLiteral("' order by codice, dtInvio;");
    case ModoRicerca::CodiceEPeriodo:
        if (tutti)
            return QStringLiteral("Select * from qryEmail where data between(#") + dal + QStringLiteral("#) and (#")
                + al + QStringLiteral("#)and Codice='") + Valore(criteri.codice)
                + QStringLiteral("' order by codice, dtInvio;");
        return QStringLiteral("Select * from qryEmail where  data between(#") + dal + QStringLiteral("#) and (#") + al
            + QStringLiteral("#) and tipo='") + tipo + QStringLiteral("' and Codice='") + Valore(criteri.codice)
            + QStringLiteral("' order by codice, dtInvio;");
    default:
        return {};
    }
}

QString TitoloElencoMail(ModoRicerca modo, const CriteriRicerca& criteri)
{
    const QString formato = QStringLiteral("dd/MM/yyyy");
    const QString dal = criteri.dataIniziale.toString(formato);
    const QString al = criteri.dataFinale.toString(formato);
    switch (modo) {
    case ModoRicerca::Periodo:
    case ModoRicerca::PeriodoSenzaTipi:
        return QStringLiteral("Elenco documenti dal ") + dal + QStringLiteral(" al ") + al
            + QStringLiteral(" inviati tramite email.");
    case ModoRicerca::NumeroEAnno:
        return QStringLiteral("Elenco Email inviate per documento: ") + criteri.numero + QStringLiteral(" anno: ")
            + criteri.anno;
    case ModoRicerca::CodiceEPeriodo:
        return QStringLiteral("Elenco documenti del Cod. CL/FORN. ") + criteri.codice + QStringLiteral(" periodo dal ")
            + dal + QStringLiteral(" al ") + al + QStringLiteral(" inviati tramite email.");
    default:
        return {};
    }
}
