#include "AmbienteProva.h"
#include "shell/ApriStampaFile.h"

#include <QTest>

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    // What the user is told for each answer of the desktop (above 32 is
    // success), and for a file or folder that is not there, which the desktop
    // is never asked about. Any verb but "open" opens the window reduced.
    void esitiDellApertura()
    {
        AmbienteProva ambiente;
        const QString file = ambiente.scriviFile("doc.pdf", "%PDF");
        const std::tuple<QString, const char*, int, const char*> casi[] = {
            {file, "open", 42, ""},
            {file, "Open", 33, ""},
            {file, "open", 32, "DLL Non Trovata"},
            {file, "open", 31, "Nessuna associazione per l'estensione del file"},
            {file, "open", 4, "Errore Sconosciuto durante Stampa File PDF"},
            {ambiente.percorso("manca.pdf"), "open", 42, "File Non Trovato"},
            {ambiente.percorso("manca/doc.pdf"), "open", 42, "Path Non Trovata"}};
        for (const auto& [percorso, verbo, risposta, testo] : casi) {
            ambiente.apertore.esito = risposta;
            QVERIFY2(ApriStampaFile(percorso, verbo) == QString::fromUtf8(testo), qPrintable(percorso));
        }
        QCOMPARE(ambiente.apertore.aperti, QStringList(5, file));
        QCOMPARE(ambiente.apertore.ridotte, (QList<bool>{false, true, false, false, false}));
        QCOMPARE(ambiente.apertore.verbi.at(1), "Open");
    }
};

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
