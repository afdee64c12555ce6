#include "AmbienteProva.h"
#include "components/LayoutReport.h"

#include <QTest>

// Report files: what a valid one gives, and the reason a broken one is refused.
class TestReport : public QObject
{
    Q_OBJECT

    static constexpr const char* valido = "# commento\n"
                                          "formato: velmira-report 1\n"
                                          "pagina: A4 orizzontale\n"
                                          "margini: 10 12 10 8\n"
                                          "carattere: 8.5\n"
                                          "dati: ELENCOMAIL MARVENA\n"
                                          "titolo:  {TITOLO} #1 \n"
                                          "gruppo: Codice | Cliente: {Codice}\n"
                                          "colonna: data | Data | 30 | 1\n"
                                          "colonna: Esito | Esito | 247 | 3\n"
                                          "piede: {DATA} | Pagina {PAGINA} di {PAGINE}\n";

private slots:
    void letturaERifiuti()
    {
        AmbienteProva ambiente;
        const auto l = LeggiLayoutReport(ambiente.scriviFile("r.rep", valido));
        QVERIFY2(l, qPrintable(l.errore().testo()));
        QStringList colonne;
        for (const auto& c : l->colonne)
            colonne << QString("%1|%2|%3|%4").arg(c.campo, c.intestazione).arg(c.larghezza).arg(c.righeMassime);
        QCOMPARE(QStringList({QString("%1x%2 %3,%4,%5,%6 %7").arg(l->larghezzaPagina).arg(l->altezzaPagina)
                                  .arg(l->margineSinistro).arg(l->margineAlto).arg(l->margineDestro)
                                  .arg(l->margineBasso).arg(l->carattere),
                              l->dataset + ' ' + l->alias, l->titolo, l->campoGruppo + '>' + l->testoGruppo,
                              colonne.join(' '), l->piedeSinistra + '>' + l->piedeDestra}),
                 QStringList({"297x210 10,12,10,8 8.5", "ELENCOMAIL MARVENA", "{TITOLO} #1", "Codice>Cliente: {Codice}",
                              "data|Data|30|1 Esito|Esito|247|3", "{DATA}>Pagina {PAGINA} di {PAGINE}"}));
        const auto valore = [](const QString& nome) { return nome == "A" ? QString("uno") : QString(); };
        QCOMPARE(SostituisciSegnaposti("{A}-{B}-{ A}-{A}", valore), "uno--{ A}-uno");

        // Each row: a piece of the valid file, what replaces it, the reason given.
        const std::tuple<QByteArray, QByteArray, QString> casi[] = {
            {QByteArray(valido), "\n# solo commenti\n", "(riga 3): file vuoto"},
            {"formato: velmira-report 1\n", "", "(riga 2): manca \"formato: velmira-report 1\""},
            {"commento", QByteArray("com\0ento", 8), "(riga 0): non è un file di testo"},
            {"commento", "comm\xe8nto", "non è un file di testo"},
            {"carattere:", "font:", "(riga 5): voce sconosciuta \"font\""},
            {"carattere: 8.5", "8.5", "(riga 5): attesa una riga"},
            {"A4 orizzontale", "B5 orizzontale", "formato della carta sconosciuto"},
            {"A4 orizzontale", "A4 obliquo", "orientamento sconosciuto"},
            {"10 12 10 8", "10 12 10", "quattro margini"},
            {"10 12 10 8", "10 -1 10 8", "quattro margini"},
            {"8.5", "otto", "dimensione del carattere"},
            {"| 30 | 1", "| 30", "(riga 9): attesi campo"},
            {"247 | 3", "247 | 1.5", "(riga 10): larghezza"},
            // toDouble takes "nan", which no range check by < and > turns away.
            {"247 | 3", "247 | nan", "(riga 10): larghezza"},
            {"247 | 3", "nan | 3", "(riga 10): larghezza"},
            {"247 | 3", "248 | 3", "le colonne (278 mm) superano la larghezza utile della pagina (277 mm)"},
            {"colonna:", "# colonna:", "nessuna colonna"},
            {"dati:", "#", "manca la voce \"dati\""},
            {"10 12 10 8", "10 90 10 90", "i margini non lasciano spazio"},
        };
        for (const auto& [da, con, motivo] : casi) {
            const QString percorso = ambiente.scriviFile("r.rep", QByteArray(valido).replace(da, con));
            const QString errore = LeggiLayoutReport(percorso).errore().testo();
            QVERIFY2(errore.startsWith("Il file del report " + percorso + " è danneggiato") && errore.contains(motivo),
                     qPrintable(motivo + " -> " + errore));
        }
        QCOMPARE(LeggiLayoutReport(ambiente.percorso("assente.rep")).errore().testo(),
                 "Il file del report " + ambiente.percorso("assente.rep") + " non esiste.");
    }
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
