#include "PostazioneProva.h"
#include "archive/Archivio.h"
#include "import/cImporta.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <cstdio>

namespace {

// The list with every line that matches `modello` replaced by `segnaposto`,
// for lines worded by the archive or the system.
QStringList conMessaggio(QStringList righe, const QString& modello, const QString& segnaposto)
{
    for (QString& riga : righe)
        if (riga.contains(QRegularExpression(modello)))
            riga = segnaposto;
    return righe;
}

} // namespace

// The import engine on real folders and a real archive, run on its own
// thread as the window runs it.
class TestcImporta : public QObject
{
    Q_OBJECT

private slots:
    void puliziaProtettaEConservata()
    {
        const QStringList nomi = Numerati(4);
        PostazioneProva p({}, nomi);
        p.importa();
        for (const QString& nome : nomi.mid(0, 3))
            QFile::remove(p.pdf(nome));

        // A delete the archive refuses ends the clean-up; the rows deleted before it stay deleted.
        p.documenti({nomi[3]});
        SuArchivio(p.database, [&nomi](QSqlDatabase& db) { QVERIFY(Rifiuta(db, "delete", "Stampa", nomi[1], "trattenuto")); });
        QCOMPARE(conMessaggio(p.importa(), "trattenuto", "trattenuto"), Elenco({"trattenuto", Tolte(1), Archiviati(0)}));
        QCOMPARE(p.dialoghi.messaggi.size(), 1);
        QCOMPARE(p.archivio().size(), 3);
        QVERIFY(!p.archivio().join('\n').contains(nomi[0]));

        // A file removed while the run walks the folder goes in the clean-up of the same run.
        SuArchivio(p.database, [](QSqlDatabase& db) { QVERIFY(Accetta(db)); });
        p.documenti({"000009FAT000000120150101.pdf"});
        QCOMPARE(p.importa({}, [&] { QFile::remove(p.pdf(nomi[3])); }), Elenco({p.pdf("000009FAT000000120150101.pdf"), Tolte(3), Archiviati(1)}));
        QCOMPARE(p.archivio().size(), 1);
    }

    void nomiEPercorsiOstili()
    {
        const QString documento = "000123FAT000045220140318.pdf";
        const QString diviso = QString::fromUtf8("00012\xF0\x9F\x98\x80" "AT000045220140318.pdf");
        const QString aCapo = "00077\nFAT000000120150101.pdf";
        PostazioneProva p({}, {documento, diviso, aCapo});
        // The archive in a folder whose name holds ';', beside an archive named as the path cut there.
        const QString archivio = p.percorso("server/arch;2/dati.mdb");
        QVERIFY(QDir().mkpath(p.percorso("server/arch;2")) && QFile::copy(p.database, archivio));
        QVERIFY(!CreaArchivioProva(p.percorso("server/arch")).presente());
        // A link out of the folder and one to a document of the folder.
        QVERIFY(QFile::link("/etc/passwd", p.pdf("000777FAT000000120150101.pdf")));
        QVERIFY(QFile::link(p.pdf(documento), p.pdf("000778FAT000000120150101.pdf")));
        // The list file left as a link to someone else's file.
        const QString altrui = p.scriviFile("altrui.txt", "da non toccare");
        QVERIFY(QFile::link(altrui, PercorsoElencoImportazione()));

        cImporta importazione;
        p.prepara(importazione);
        importazione.Database(archivio);
        importazione.Avvia();
        QCOMPARE(importazione.Esito(), EsitoImportazione::EseguitaConProblemi);
        QCOMPARE(p.elenco(),
                 Elenco({p.pdf(documento),
                         Problema(diviso, "Un carattere del nome del file cade a cavallo di due campi del documento: il "
                                          "file non è stato archiviato. Rinominare il file."),
                         Problema("00077?FAT000000120150101.pdf",
                                  "Il nome del file contiene caratteri di controllo (un a capo, una tabulazione): il file "
                                  "non è stato archiviato. Rinominare il file."),
                         Problema("000777FAT000000120150101.pdf", "Il file è un collegamento a un file che non si trova "
                                                                  "nella cartella dei documenti: il file non è stato "
                                                                  "archiviato."),
                         p.pdf("000778FAT000000120150101.pdf"), Tolte(0), Archiviati(2)}));
        QVERIFY(!QFileInfo(PercorsoElencoImportazione()).isSymLink());
        QFile letto(altrui);
        QVERIFY(letto.open(QIODevice::ReadOnly) && letto.readAll() == "da non toccare");
        QCOMPARE(StatoArchivio(archivio), "ok 2 2 2");
        QCOMPARE(StatoArchivio(p.percorso("server/arch")), "ok 0 0 0");
    }
    void primaESecondaImportazione()
    {
        const QString conApice = "0001'3FAT000045320140318.pdf";
        PostazioneProva p({}, {"000123FAT000045220140318.pdf", "000123FAT00004522014031.pdf",
                                       "000125FAT0000452201403188.pdf", "000124BOL000000720150102.txt",
                                       "000200NCR000000320150105.pdf", "000200NCR000000320150105_001",
                                       "000123FAT000000020140318.pdf", "C00123FAT000045220141318.pdf",
                                       "sub/000300FAT000000120150101.pdf", conApice});
        // A name that is not valid UTF-8: 27 good bytes and one that is not text.
        const QByteArray nonValido = QFile::encodeName(p.cartellaPdf) + "/000124FAT0000453201403\xff" "8.pdf";
        std::fclose(std::fopen(nonValido.constData(), "w"));
        const QStringList scartati{
            Problema("000123FAT000000020140318.pdf", "Il numero del documento nel nome del file è vuoto o "
                                                     "fatto di soli zeri: il file non è stato archiviato."),
            Problema(QString::fromUtf8("000124FAT0000453201403\xff" "8.pdf"),
                     "Il nome del file contiene caratteri non validi per il sistema: il "
                     "file non è stato archiviato. Rinominare il file."),
            Problema("C00123FAT000045220141318.pdf", "La data del documento nel nome del file non è una "
                                                     "data valida: il file non è stato archiviato.")};
        QCOMPARE(p.importa(), Elenco({p.pdf(conApice), scartati[0], p.pdf("000123FAT000045220140318.pdf"),
                                      p.pdf("000124BOL000000720150102.txt"), scartati[1],
                                      p.pdf("000200NCR000000320150105.pdf"), scartati[2], Tolte(0), Archiviati(4)}));
        const QStringList righe{conApice + "|0001'3|FAT|453|2014-03-18|",
                                "000123FAT000045220140318.pdf|123|FAT|452|2014-03-18|",
                                "000124BOL000000720150102.txt|124|BOL|7|2015-01-02|",
                                "000200NCR000000320150105.pdf|200|NCR|3|2015-01-05|"};
        QCOMPARE(p.archivio(), righe);
        QVERIFY(p.dialoghi.messaggi.isEmpty());

        // Nothing new: the twin with another ending stays out as well.
        QCOMPARE(p.importa(), Elenco(scartati + QStringList{Tolte(0), Archiviati(0)}));
        QCOMPARE(p.archivio(), righe);

        // A trailing separator is kept in the paths listed; a deleted PDF loses its row.
        QFile::remove(p.pdf("000123FAT000045220140318.pdf"));
        QFile::remove(p.pdf(conApice));
        p.documenti({"000124FAT000045320140318.pdf"});
        QCOMPARE(p.importa(p.pdf("")), Elenco({scartati[0], p.pdf("/000124FAT000045320140318.pdf"), scartati[1],
                                                scartati[2], Tolte(2), Archiviati(1)}));
        QCOMPARE(p.archivio(), (QStringList{righe[2], "000124FAT000045320140318.pdf|124|FAT|453|2014-03-18|", righe[3]}));
        std::remove(nonValido.constData());
    }

    // What changes while the runs go on: the widths, the folder itself.
    void cambiDuranteLeImportazioni()
    {
        PostazioneProva p({}, {"000123FAT000045220140318.pdf", "000123FAT0000000120140318.pdf"});
        // Changed while the run goes: the next file is cut with the new widths.
        p.importa({}, [&p] { p.scriviLunghezze(6, 3, 8); });
        QCOMPARE(p.archivio(), QStringList{"000123FAT0000000120140318.pdf|123|FAT|1|2014-03-18|"});
        // Same total length, other fields: the row of the old cut is not this
        // document, even when the change comes after the run has read the archive.
        p.importa({}, [&p] { p.scriviLunghezze(7, 2, 8); });
        QCOMPARE(p.archivio(), (QStringList{"000123FAT0000000120140318.pdf|123|FAT|1|2014-03-18|",
                                            "000123FAT0000000120140318.pdf|000123F|AT|1|2014-03-18|"}));
        // ... and when it comes before the run.
        p.scriviLunghezze(6, 2, 9);
        QCOMPARE(p.importa().last(), Archiviati(1));
        QCOMPARE(p.archivio().size(), 3);

        // A four-character type does not fit its column, at every run (the
        // names above no longer fit the widths).
        p.scriviLunghezze(6, 4, 8);
        p.documenti({"000123FATT0000045220140318.pdf"});
        for (int volta = 0; volta < 2; ++volta) {
            QCOMPARE(conMessaggio(p.importa(), "^\\d+ \\S", "codice e testo dell'errore"),
                     Elenco({Problema("000123FATT0000045220140318.pdf", "codice e testo dell'errore"), Tolte(0), Archiviati(0)}));
            QCOMPARE(p.archivio().size(), 3);
        }

        // The server goes away while the run walks the folder it listed: the
        // first name fits again, and no row leaves the archive.
        p.scriviLunghezze(6, 3, 7);
        p.documenti({"000124FAT000045320140318.pdf"});
        const QString irraggiungibile = "(?=.*non è più raggiungibile)(?=.*" + QRegularExpression::escape(p.cartellaPdf) + ")";
        QCOMPARE(conMessaggio(p.importa({}, [&p] { QDir().rename(p.cartellaPdf, p.cartellaPdf + ".via"); }), irraggiungibile, "cartella non più raggiungibile"),
                 Elenco({p.pdf("000123FAT000045220140318.pdf"), p.pdf("000124FAT000045320140318.pdf"),
                         "cartella non più raggiungibile", Archiviati(2)}));
        QCOMPARE(p.archivio().size(), 5);
    }

    void documentiInGruppo()
    {
        // More files than one statement carries; two names of one document
        // (the type differs in case) side by side, one refused document, and
        // one already archived under another file's name.
        const QString maiuscolo = "000001FAT00000A020150101.pdf";
        const QString minuscolo = "000001FAT00000a020150101.pdf";
        QStringList nomi = Numerati(1200) << maiuscolo << minuscolo;
        std::sort(nomi.begin(), nomi.end());
        PostazioneProva p({}, nomi);
        const QString rifiutato = Numerati(300).last();
        const QString presente = Numerati(900).last();
        SuArchivio(p.database, [](QSqlDatabase& db) {
            QVERIFY(Rifiuta(db, "insert", "NumDoc", "300", "rifiutato"));
            QVERIFY(QSqlQuery(db).exec("insert into Posta (Stampa, Codice, Tipo, NumDoc, Data) "
                                       "values ('altrove.pdf', '1', 'fat', '900', '2015-01-01')"));
        });
        QStringList attese;
        for (const QString& nome : std::as_const(nomi)) {
            if (nome == rifiutato)
                attese << Problema(nome, "rifiutato");
            else if (nome != minuscolo && nome != presente)
                attese << p.pdf(nome);
        }
        QCOMPARE(conMessaggio(p.importa(), "rifiutato", "rifiutato"), Elenco(attese << Tolte(1) << Archiviati(1199)));
        const QStringList righe = p.archivio();
        QCOMPARE(righe.size(), 1199);
        QCOMPARE(righe.filter(QRegularExpression("^000001FAT00000[Aa]0")), QStringList{maiuscolo + "|1|FAT|00000A0|2015-01-01|"});

        // The clean-up took the other file's row: its document goes in now.
        QCOMPARE(conMessaggio(p.importa(), "rifiutato", "rifiutato"),
                 Elenco({Problema(rifiutato, "rifiutato"), p.pdf(presente), Tolte(0), Archiviati(1)}));
    }

    // The run cancelled at each stage: while it waits for its turn, while it
    // walks the folder, once only the clean-up is left (which is always
    // finished). Each time one end, one result, and a bar that ends full.
    void annullamentoInOgniFase()
    {
        const QStringList nomi = Numerati(3000);
        const QString orfano = "999999FAT000000120150101.pdf";
        const struct
        {
            const char* fase;
            EsitoImportazione esito;
            int tolti;
            const char* barra;
        } casi[] = {{"turno", EsitoImportazione::Annullata, 0, ""},
                    {"cartella", EsitoImportazione::Annullata, 1, "3000/3000"},
                    {"pulizia", EsitoImportazione::Eseguita, 1, "3000/3000"}};
        for (const auto& caso : casi) {
            const QByteArray fase = caso.fase;
            PostazioneProva p({}, {orfano});
            p.importa();
            QFile::remove(p.pdf(orfano));
            p.documenti(nomi);
            // The turn held by a run on another, empty folder, which leaves the archive alone.
            QDir().mkpath(p.percorso("vuota"));
            cImporta prima;
            p.prepara(prima, p.percorso("vuota"));
            if (fase == "turno")
                prima.Avvia();

            cImporta importazione;
            p.prepara(importazione);
            QString barra;
            connect(&importazione, &cImporta::Avanzamento, &importazione, [&](qsizetype esaminati, qsizetype totale) {
                if ((fase == "cartella" && esaminati >= 50) || (fase == "pulizia" && esaminati == totale))
                    importazione.AnnullaProcedura(true);
            }, Qt::DirectConnection);
            connect(&importazione, &cImporta::Avanzamento, this,
                    [&barra](qsizetype esaminati, qsizetype totale) { barra = QStringLiteral("%1/%2").arg(esaminati).arg(totale); });
            QSignalSpy fine(&importazione, &cImporta::Terminata);
            importazione.AnnullaProcedura(fase == "turno");
            importazione.AvviaInSottofondo();
            QVERIFY2(fine.wait(120000), fase);
            QTest::qWait(50);
            QCOMPARE(fine.size(), 1);
            QCOMPARE(barra, caso.barra);

            const RisultatoImportazione& r = importazione.Risultato();
            const QStringList righe = p.archivio();
            const int quanti = int(righe.size()) + caso.tolti - 1;
            QVERIFY2(r.esito == caso.esito && r.riepilogo.tolti == caso.tolti && r.riepilogo.archiviati == quanti
                         && r.puliziaNonEseguita.isEmpty(),
                     fase);
            if (fase == "turno") {
                QVERIFY(r.elenco.isEmpty() && righe == QStringList{orfano + "|999999|FAT|1|2015-01-01|"});
                continue;
            }
            QVERIFY2(quanti > 0 && (fase == "pulizia") == (quanti == 3000), fase);
            // The files listed are exactly the first ones in name order.
            QStringList attesi;
            for (const QString& nome : nomi.mid(0, quanti))
                attesi.append(p.pdf(nome));
            attesi << Tolte(1);
            attesi << (fase == "cartella" ? "Procedura annullata dall'operatore.\n" : "") + Archiviati(quanti);
            QCOMPARE(r.elenco, PercorsoElencoImportazione());
            QCOMPARE(p.elenco(), Elenco(attesi));
        }
    }

    void archivioBloccato()
    {
        const QStringList nomi{"000124FAT000045320140318.pdf", "000125FAT000045420140318.pdf"};
        PostazioneProva p({}, nomi);
        SuArchivio(p.database, [&](QSqlDatabase& altra) {
            QSqlQuery blocco(altra);
            const auto blocca = [&blocco] {
                return ProvaSuServer() ? blocco.exec("BEGIN") && blocco.exec("LOCK TABLE posta IN EXCLUSIVE MODE")
                                       : blocco.exec("BEGIN IMMEDIATE");
            };
            // Another workstation holds the write lock for the whole run.
            QVERIFY(blocca());
            int battiti = 0;
            QTimer orologio;
            connect(&orologio, &QTimer::timeout, [&battiti] { ++battiti; });
            orologio.start(50);
            QCOMPARE(conMessaggio(p.importa(), "bloccato", "bloccato"),
                     Elenco({Problema(nomi[0], "bloccato"), Problema(nomi[1], "bloccato"), Tolte(0), Archiviati(0)}));
            QVERIFY2(battiti > 10, "the run did not let the events through while it waited");

            // Then it keeps committing rows and taking the lock again at once,
            // for longer than a run waits for a stuck archive: busy, not
            // stuck, so the run waits until it is done, then archives all.
            QElapsedTimer occupata;
            occupata.start();
            connect(&orologio, &QTimer::timeout, [&] {
                if (!blocco.exec("insert into Posta (Stampa) values ('altrove.pdf')") || !blocco.exec("COMMIT")
                    || occupata.elapsed() > 7000 || !blocca())
                    orologio.stop();
            });
            QCOMPARE(conMessaggio(p.importa(), "^Righe tolte", "tolte"),
                     Elenco({p.pdf(nomi[0]), p.pdf(nomi[1]), "tolte", Archiviati(2)}));
        });
        QCOMPARE(StampeArchiviate(p.database) - QSet<QString>{"altrove.pdf"}, QSet<QString>(nomi.begin(), nomi.end()));
    }
};

QTEST_GUILESS_MAIN(TestcImporta)
#include "tst_cImporta.moc"
