#include "GeneraArchivio.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"

#include <QDate>
#include <QHash>
#include <QRandomGenerator>
#include <QStringList>

namespace {
const QStringList Tipi{QStringLiteral("FAT"), QStringLiteral("BOL"), QStringLiteral("NC"), QStringLiteral("ORD"),
                       QStringLiteral("DDT"), QStringLiteral("PRE"), QStringLiteral("OFF"), QStringLiteral("RIC"),
                       QStringLiteral("FTA"), QStringLiteral("NCA"), QStringLiteral("SOL"), QStringLiteral("CON")};
constexpr int Clienti = 5000;
constexpr int RighePerTransazione = 50000;
}

Errore GeneraArchivio(const QString& percorso, int righe)
{
    Errore errore = CreaArchivio(percorso);
    if (errore.presente())
        return errore;
    Connessione connessione;
    errore = connessione.Apri(StringaConnessione(percorso));
    if (errore.presente())
        return errore;

    QRandomGenerator caso(20141);
    const QDate primo(2010, 1, 1);
    const int giorni = int(primo.daysTo(QDate(2025, 12, 31)));
    QHash<QString, int> progressivi; // type + year -> last number
    std::unique_ptr<Comando> inserimento;
    for (int i = 0; i < righe && !errore.presente(); ++i) {
        if (i % RighePerTransazione == 0) {
            if (i > 0 && (errore = connessione.Conferma()).presente())
                break;
            if ((errore = connessione.IniziaTransazione()).presente())
                break;
            auto preparato = connessione.Prepara(
                QStringLiteral("insert into Posta (Stampa, Tipo, NumDoc, Data, Codice, email) values (?, ?, ?, ?, ?, ?)"));
            if (errore = preparato.errore(); errore.presente())
                break;
            inserimento = std::move(*preparato);
        }
        // Dates in order, as documents arrive day by day.
        const QDate data = primo.addDays(qint64(i) * giorni / righe);
        const QString tipo = Tipi[int(caso.bounded(Tipi.size()))];
        const QString codice = QString::number(1 + caso.bounded(Clienti));
        const int numero = ++progressivi[tipo + QString::number(data.year())];
        const QString stampa = codice.rightJustified(6, QLatin1Char('0')) + tipo.leftJustified(3, QLatin1Char('_'))
            + QString::number(numero).rightJustified(7, QLatin1Char('0')) + data.toString(QStringLiteral("yyyyMMdd"))
            + QStringLiteral(".pdf");
        errore = inserimento->Esegui({stampa, tipo, QString::number(numero), data, codice,
                                      QStringLiteral("cliente%1@esempio.it").arg(codice)});
    }
    inserimento.reset();
    if (errore.presente()) {
        connessione.Annulla();
        return errore;
    }
    errore = connessione.Conferma();
    connessione.AggiornaStatistiche();
    return errore;
}
