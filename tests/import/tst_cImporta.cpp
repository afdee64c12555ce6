#include "AmbienteProva.h"
#include "ProvaImportazione.h"
#include "import/cImporta.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

#include <cstdio>

// The import engine on real folders and a real archive.
class TestcImporta : public QObject
{
    Q_OBJECT

private slots:
    void primaESecondaImportazione();
    void separatoreFinaleEPdfTolto();
    void inserimentiFalliti();
    void annullamento();
    void lunghezzeCambiate();
    void cartellaIrraggiungibileDopoLaScansione();
    void apiciENomiNonValidi();
    void archivioBloccato();
};

namespace {

const QString intestazione = QStringLiteral("elenco file elaborati:");
const QString nessuno = QStringLiteral("Nessun nuovo file archiviato.");
const QString zeri = QStringLiteral("Il numero del documento nel nome del file è vuoto o fatto di "
                                    "soli zeri: il file non è stato archiviato.");
const QString dataErrata = QStringLiteral("La data del documento nel nome del file non è una data "
                                          "valida: il file non è stato archiviato.");

QString problemi(const QString& nome)
{
    return QStringLiteral("Problemi nell'archiviazione del file: ") + nome + QLatin1Char('.');
}

// An engine given its three paths in the order the window gives them.
std::unique_ptr<cImporta> preparata(const ProvaImportazione& p, const QString& cartella)
{
    auto importazione = std::make_unique<cImporta>();
    importazione->CartellaPDF(cartella);
    importazione->Database(p.database);
    importazione->FileIni(p.fileIni);
    return importazione;
}

std::unique_ptr<cImporta> importa(const ProvaImportazione& p, const QString& cartella = {})
{
    auto importazione = preparata(p, cartella.isEmpty() ? p.pdf : cartella);
    importazione->Avvia();
    return importazione;
}

// The list with every line that holds `frammento` cut down to it, for lines
// that carry a message worded by the archive.
QStringList conMessaggio(QStringList righe, const QString& frammento)
{
    for (QString& riga : righe)
        if (riga.contains(frammento))
            riga = frammento;
    return righe;
}

// Runs `azione` at the first moment the engine lets events through.
void AllaPrimaCessione(std::function<void()> azione)
{
    QTimer::singleShot(0, std::move(azione));
}

} // namespace

void TestcImporta::primaESecondaImportazione()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    p.documenti({"000123FAT000045220140318.pdf", "000123FAT00004522014031.pdf",
                 "000125FAT0000452201403188.pdf", "000124BOL000000720150102.txt",
                 "000200NCR000000320150105.pdf", "000200NCR000000320150105_001",
                 "000123FAT000000020140318.pdf", "C00123FAT000045220141318.pdf"});
    QDir(p.pdf).mkdir("sub");
    p.documenti({"sub/000300FAT000000120150101.pdf"});

    auto importazione = importa(p);
    QCOMPARE(importazione->Esito(), EsitoImportazione::Eseguita);
    QCOMPARE(p.elenco(), (QStringList{intestazione, "",
                                      problemi("000123FAT000000020140318.pdf"), zeri, "",
                                      p.pdf + "/000123FAT000045220140318.pdf", "",
                                      p.pdf + "/000124BOL000000720150102.txt", "",
                                      p.pdf + "/000200NCR000000320150105.pdf", "",
                                      problemi("C00123FAT000045220141318.pdf"), dataErrata, "",
                                      "Archiviati n.3 nuovi files."}));
    const QStringList righe{"000123FAT000045220140318.pdf|123|FAT|452|2014-03-18|",
                            "000124BOL000000720150102.txt|124|BOL|7|2015-01-02|",
                            "000200NCR000000320150105.pdf|200|NCR|3|2015-01-05|"};
    QCOMPARE(p.archivio(), righe);
    QVERIFY(ambiente.dialoghi.messaggi.isEmpty());

    // Nothing new: the twin with another ending stays out as well.
    importa(p);
    QCOMPARE(p.elenco(), (QStringList{intestazione, "",
                                      problemi("000123FAT000000020140318.pdf"), zeri, "",
                                      problemi("C00123FAT000045220141318.pdf"), dataErrata, "",
                                      nessuno}));
    QCOMPARE(p.archivio(), righe);
}

void TestcImporta::separatoreFinaleEPdfTolto()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    importa(p);
    QCOMPARE(p.elenco(), (QStringList{intestazione, "", nessuno}));

    p.documenti({"000123FAT000045220140318.pdf", "000124FAT000045320140318.pdf"});
    importa(p, p.pdf + "/");
    QCOMPARE(p.elenco(), (QStringList{intestazione, "", p.pdf + "//000123FAT000045220140318.pdf", "",
                                      p.pdf + "//000124FAT000045320140318.pdf", "",
                                      "Archiviati n.2 nuovi files."}));
    QCOMPARE(p.archivio().size(), 2);

    QFile::remove(p.pdf + "/000123FAT000045220140318.pdf");
    importa(p, p.pdf + "/");
    QCOMPARE(p.elenco(), (QStringList{intestazione, "", nessuno}));
    QCOMPARE(p.archivio(), QStringList{"000124FAT000045320140318.pdf|124|FAT|453|2014-03-18|"});
}

void TestcImporta::lunghezzeCambiate()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    p.documenti({"000123FAT000045220140318.pdf", "000123FAT0000000120140318.pdf"});
    // Changed while the run goes: the next file is cut with the new widths.
    AllaPrimaCessione([&p] { p.scriviLunghezze(6, 3, 8); });
    importa(p);
    QCOMPARE(p.archivio(), QStringList{"000123FAT0000000120140318.pdf|123|FAT|1|2014-03-18|"});
    // Same total length, other fields: the row of the old cut is not this
    // document, even when the change comes after the run has read the archive.
    AllaPrimaCessione([&p] { p.scriviLunghezze(7, 2, 8); });
    importa(p);
    QCOMPARE(p.archivio(), (QStringList{"000123FAT0000000120140318.pdf|123|FAT|1|2014-03-18|",
                                        "000123FAT0000000120140318.pdf|000123F|AT|1|2014-03-18|"}));
    // ... and when it comes before the run.
    p.scriviLunghezze(6, 2, 9);
    importa(p);
    QCOMPARE(p.elenco().last(), "Archiviati n.1 nuovi files.");
    QCOMPARE(p.archivio().size(), 3);
}

void TestcImporta::inserimentiFalliti()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    // The archive refuses one document among good ones (as a constraint of its own would).
    SuArchivio(p.database, [](QSqlDatabase& db) {
        QVERIFY(QSqlQuery(db).exec("create trigger rifiuta before insert on Posta when "
                                   "new.NumDoc = '2' begin select raise(abort, 'rifiutato'); end"));
    });
    p.documentiNumerati(3);
    importa(p);
    QCOMPARE(conMessaggio(p.elenco(), "rifiutato"),
             (QStringList{intestazione, "", p.pdf + "/000001FAT000000120150101.pdf", "",
                          problemi("000001FAT000000220150101.pdf"), "rifiutato", "",
                          p.pdf + "/000001FAT000000320150101.pdf", "", "Archiviati n.2 nuovi files."}));
    QCOMPARE(p.archivio().size(), 2);

    // A four-character type does not fit its column, at every run (the
    // names above are now one character short).
    p.scriviLunghezze(6, 4, 7);
    p.documenti({"000123FATT000045220140318.pdf"});
    for (int volta = 0; volta < 2; ++volta) {
        importa(p);
        const QStringList elenco = p.elenco();
        QCOMPARE(elenco.size(), 6);
        QCOMPARE(elenco[2], problemi("000123FATT000045220140318.pdf"));
        QVERIFY2(QRegularExpression("^\\d+ \\S").match(elenco[3]).hasMatch(), qPrintable(elenco[3]));
        QCOMPARE(elenco.mid(4), (QStringList{"", nessuno}));
        QCOMPARE(p.archivio().size(), 2);
    }
}

void TestcImporta::annullamento()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    // A row whose PDF has gone: the clean-up still runs after a cancel.
    p.documenti({"999999FAT000000120150101.pdf"});
    importa(p);
    QFile::remove(p.pdf + "/999999FAT000000120150101.pdf");

    const QStringList nomi = p.documentiNumerati(5000);
    auto importazione = preparata(p, p.pdf);
    QObject durataProva;
    AllaPrimaCessione([&importazione, &durataProva] {
        QTimer::singleShot(15, &durataProva, [&importazione] { importazione->AnnullaProcedura(true); });
    });
    importazione->Avvia();

    QCOMPARE(importazione->Esito(), EsitoImportazione::Annullata);
    const QStringList righe = p.archivio();
    QVERIFY2(righe.size() > 0 && righe.size() < 5000, qPrintable(QString::number(righe.size())));
    QVERIFY(!righe.join('\n').contains("999999FAT"));
    const QStringList elenco = p.elenco();
    QCOMPARE(elenco.size(), 2 + 2 * righe.size() + 2);
    QCOMPARE(elenco.mid(elenco.size() - 2),
             (QStringList{"Procedura annullata dall'operatore.",
                          QStringLiteral("Archiviati n.%1 nuovi files.").arg(righe.size())}));
    // The files listed are exactly the first ones in name order.
    QCOMPARE(elenco[2 + 2 * (righe.size() - 1)], p.pdf + "/" + nomi[righe.size() - 1]);
}

void TestcImporta::cartellaIrraggiungibileDopoLaScansione()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    p.documenti({"000123FAT000045220140318.pdf"});
    importa(p);
    p.documenti({"000124FAT000045320140318.pdf"});
    // The server goes away while the run walks the folder it listed.
    AllaPrimaCessione([&p] { QDir().rename(p.pdf, p.pdf + ".via"); });
    importa(p);
    const QStringList elenco = p.elenco();
    QCOMPARE(elenco.size(), 7);
    QCOMPARE(elenco[2], p.pdf + "/000124FAT000045320140318.pdf");
    QVERIFY2(elenco[4].contains("non è più raggiungibile") && elenco[4].contains(p.pdf),
             qPrintable(elenco[4]));
    QCOMPARE(elenco[6], "Archiviati n.1 nuovi files.");
    QCOMPARE(p.archivio().size(), 2);
}

void TestcImporta::apiciENomiNonValidi()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    const QString conApice = "0001'3FAT000045320140318.pdf";
    p.documenti({conApice});
    // A name that is not valid UTF-8: 27 good bytes and one that is not text.
    const QByteArray nonValido = QFile::encodeName(p.pdf) + "/000124FAT0000453201403\xff" "8.pdf";
    std::fclose(std::fopen(nonValido.constData(), "w"));
    const QString nomeMostrato = QString::fromUtf8("000124FAT0000453201403\xff" "8.pdf");
    const QString motivo = "Il nome del file contiene caratteri non validi per il sistema: il file "
                           "non è stato archiviato. Rinominare il file.";

    importa(p);
    QCOMPARE(p.elenco(), (QStringList{intestazione, "", p.pdf + "/" + conApice, "",
                                      problemi(nomeMostrato), motivo, "",
                                      "Archiviati n.1 nuovi files."}));
    importa(p);
    QCOMPARE(p.elenco(), (QStringList{intestazione, "", problemi(nomeMostrato), motivo, "", nessuno}));
    QCOMPARE(p.archivio(), QStringList{conApice + "|0001'3|FAT|453|2014-03-18|"});

    QFile::remove(p.pdf + "/" + conApice);
    importa(p);
    QCOMPARE(p.archivio(), QStringList());
    std::remove(nonValido.constData());
}

void TestcImporta::archivioBloccato()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    p.documenti({"000124FAT000045320140318.pdf", "000125FAT000045420140318.pdf"});
    // Another workstation holds the write lock for the whole run.
    SuArchivio(p.database, [&](QSqlDatabase& altra) {
        QVERIFY(QSqlQuery(altra).exec("BEGIN IMMEDIATE"));
        int battiti = 0;
        QTimer orologio;
        connect(&orologio, &QTimer::timeout, [&battiti] { ++battiti; });
        orologio.start(50);
        importa(p);
        QVERIFY2(battiti > 10, "the run did not let the events through while it waited");
        QCOMPARE(conMessaggio(p.elenco(), "bloccato"),
                 (QStringList{intestazione, "", problemi("000124FAT000045320140318.pdf"), "bloccato",
                              "", problemi("000125FAT000045420140318.pdf"), "bloccato", "", nessuno}));
    });
    importa(p);
    QCOMPARE(p.elenco().last(), "Archiviati n.2 nuovi files.");
    QCOMPARE(p.archivio().size(), 2);
}

QTEST_GUILESS_MAIN(TestcImporta)
#include "tst_cImporta.moc"
