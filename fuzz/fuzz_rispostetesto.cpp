// What the text reader velmira-testo writes back for each PDF: the indexing
// reads it from a process that a hostile file may have taken over.
// Input: the reader's output.
//
// What must hold: the answers read are the same whether the output arrives
// at once or a byte at a time; each answer written again reads back the same;
// once an answer is not valid, nothing more is read from that output.

#include "SupportoFuzz.h"

#include "indice/ProtocolloTesto.h"

#include <QList>

namespace {

// The answers read from `pezzi`, fed in order, then the error if one came.
QStringList leggi(const QList<QByteArray>& pezzi)
{
    QStringList letti;
    LettoreRisposte lettore;
    for (const QByteArray& pezzo : pezzi) {
        lettore.Aggiungi(pezzo);
        while (auto risposta = lettore.Prossima()) {
            if (!*risposta) {
                letti.append(QStringLiteral("errore: ") + risposta->errore().descrizione);
                return letti;
            }
            const RispostaTesto& r = **risposta;
            LettoreRisposte di_nuovo;
            di_nuovo.Aggiungi(ScriviRisposta(r));
            const auto riletta = di_nuovo.Prossima();
            if (!riletta || !*riletta || (*riletta)->testo != r.testo || (*riletta)->pagine != r.pagine
                || (*riletta)->riuscita != r.riuscita || (*riletta)->motivo != r.motivo || !di_nuovo.Vuoto())
                Violazione("an answer written again reads back the same", r.testo.left(200));
            letti.append(QStringLiteral("%1 %2 %3 %4").arg(r.riuscita).arg(r.pagine).arg(int(r.motivo)).arg(r.testo));
        }
    }
    return letti;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QByteArray uscita(reinterpret_cast<const char*>(dati), qsizetype(dimensione));
    QList<QByteArray> byte;
    for (char c : uscita)
        byte.append(QByteArray(1, c));
    if (leggi({uscita}) != leggi(byte))
        Violazione("the answers do not depend on how the output arrives", QString::fromUtf8(uscita.left(200)));
    return 0;
}
