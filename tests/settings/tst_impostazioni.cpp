#include "AmbienteProva.h"
#include "settings/FileIni.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestImpostazioni : public QObject
{
    Q_OBJECT

private slots:
    // What a message typed in the window is stored as ("+" for a line break)
    // and what is read back.
    void messaggioAndataERitorno()
    {
        AmbienteProva ambiente;
        const std::tuple<QString, QString, QString> casi[] = {
            {"1+1", "1+1", "1\r\n1"}, // a plus inside a line splits it
            {"a\r\n", "a+", "a\r\n"},
            {"a\rb\r", "a+b+", "a\r\nb\r\n"}, // old Mac line ends
            {QStringLiteral("\uFEFFciao"), QStringLiteral("\uFEFFciao"), QStringLiteral("\uFEFFciao")}, // a byte order mark in front
        };
        QString letto;
        for (auto [scritto, salvato, riletto] : casi) {
            LeggiScriviMessaggio(scritto, false);
            LeggiScriviMessaggio(letto, true);
            QCOMPARE(LeggiIni("Email", "Messaggio") + " -> " + letto, salvato + " -> " + riletto);
        }
    }

    // Names without regard to case; on a write the rest of the file stays as
    // it was written, and the file becomes its owner's alone.
    void letturaEScrittura()
    {
        AmbienteProva ambiente;
        ScriviIni("EliminaTemp", "Durata", "7");
        QCOMPARE(LeggiFile(PercorsoVelmiraIni()), QByteArray("[EliminaTemp]\nDurata=7\n"));
        // It holds the mail password: a new file is its owner's alone from the first write.
        QCOMPARE(QFile::permissions(PercorsoVelmiraIni()) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        ambiente.scriviFile("Velmira.ini", "; commento dell'ufficio\n[PERCORSI]\nCartellaPDF=/srv/pdf\ndatabase=/srv/Marvena\n"
                                            "[Email]\nIndirizzo=a@b.it\nPassword=p=q\nMessaggio=Salve+A presto\n");
        QCOMPARE(LeggiIni("Percorsi", "DataBase"), "/srv/Marvena");
        ScriviIni("Percorsi", "DataBase", "/altro");
        ScriviIni("Percorsi", "CartellaLocale", "/home/u/documenti");
        QCOMPARE(LeggiIni("percorsi", "DATABASE"), "/altro");
        const QByteArray dopo = LeggiFile(PercorsoVelmiraIni());
        QVERIFY(dopo.contains("; commento dell'ufficio") && dopo.count("atabase=") == 1);
        QVERIFY(dopo.contains("CartellaPDF=/srv/pdf\n") && dopo.contains("atabase=/altro\nCartellaLocale=/home/u/documenti\n"));

        // Written on Windows: its code page, its line ends, its spacing and comments stay.
        ambiente.scriviFile("Velmira.ini", "; nota\r\n[Email]\r\nOggetto = Fattura n\xb0 1 \xe8 pronta\r\n\r\n"
                                            "[Percorsi]\r\nDataBase=/srv\r\n");
        QCOMPARE(LeggiIni("Email", "Oggetto"), "Fattura n° 1 è pronta");
        QVERIFY(QFile::setPermissions(PercorsoVelmiraIni(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                                | QFileDevice::ReadGroup | QFileDevice::ReadOther));
        ScriviIni("email", "OGGETTO", "Nuovo è");
        ScriviIni("Percorsi", "CartellaPDF", "/pdf");
        ScriviIni("Test", "AttivaLog", "FALSO");
        QCOMPARE(LeggiFile(PercorsoVelmiraIni()), QByteArray("; nota\r\n[Email]\r\nOggetto = Nuovo \xe8\r\n\r\n[Percorsi]\r\nDataBase=/srv\r\n"
                                         "CartellaPDF=/pdf\r\n\r\n[Test]\r\nAttivaLog=FALSO\r\n"));
        // Others could read it: it holds the password, now only its owner can.
        QCOMPARE(QFile::permissions(PercorsoVelmiraIni()) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        // A value the code page cannot hold turns the file to UTF-8 rather than lose it.
        ScriviIni("Email", "Oggetto", "€ ✓");
        QCOMPARE(LeggiIni("Email", "Oggetto"), "€ ✓");
        QVERIFY(LeggiFile(PercorsoVelmiraIni()).startsWith("; nota\r\n[Email]\r\nOggetto = \xe2\x82\xac"));

        // A line starting with '[' ends the section above it for the reader, whatever
        // follows: a value added to that section must go above it, not after it.
        ambiente.scriviFile("Velmira.ini", "[Percorsi]\nDataBase=/a\n[Vecchie=note senza chiusura\nx=1\n[Email]\nPorta=25\n");
        ScriviIni("Percorsi", "CartellaPDF", "/pdf");
        ScriviIni("Email", "SMTP", "smtp.ditta.it");
        QCOMPARE(QStringList({LeggiIni("Percorsi", "CartellaPDF"), LeggiIni("Email", "SMTP"), LeggiIni("Email", "Porta"),
                              LeggiIni("Percorsi", "DataBase")}),
                 QStringList({"/pdf", "smtp.ditta.it", "25", "/a"}));

        // Nor is a vertical tab a blank for the reader: that line is another key.
        ambiente.scriviFile("Velmira.ini", "[Email]\n\vOggetto=vecchio\n");
        ScriviIni("Email", "Oggetto", "nuovo");
        QCOMPARE(LeggiIni("Email", "Oggetto"), "nuovo");
        QVERIFY(ambiente.dialoghi.messaggi.isEmpty());

        const QByteArray prima("[Percorsi]\nDataBase=/srv/db\n");
        const QString percorso = ambiente.scriviFile("Velmira.ini", prima);
        // The rest of each value would otherwise become a line of its own: here a new DataBase.
        for (const QString& valore : {QString("/x\nDataBase=/altrove"), QString("/x\rDataBase=/altrove"),
                                      QString("/x\r\n[Percorsi]"), "/x" + QString(QChar(0)) + "y"}) {
            QVERIFY(!ScriviValoreIni(percorso, "Percorsi", "CartellaPDF", valore));
            QCOMPARE(LeggiFile(PercorsoVelmiraIni()), prima);
        }
        QCOMPARE(LeggiIni("Percorsi", "DataBase"), "/srv/db");
        // Told every time: each refusal is a different value the user tried to save.
        QCOMPARE(ambiente.dialoghi.messaggi.size(), 4);
        QVERIFY(ambiente.dialoghi.messaggi.first().testo.contains("CartellaPDF contiene un a capo"));
        QCOMPARE(ambiente.dialoghi.messaggi.first().icona, Icona::Esclamazione);
    }

    void fileCheNonEImpostazioniNonSiTocca()
    {
        const QByteArray estraneo("Appunti del lunedì\n[Percorsi]\nDataBase=x\n");
        AmbienteProva prova;
        prova.scriviFile("Velmira.ini", estraneo);
        // Read as empty values, and told once however often it is read.
        QCOMPARE(LeggiIni("Percorsi", "DataBase"), QString());
        QCOMPARE(LeggiIni("Percorsi", "DataBase"), QString());
        QCOMPARE(prova.dialoghi.messaggi.size(), 1);
        QVERIFY(prova.dialoghi.messaggi.first().testo.contains("non è un file di impostazioni"));
        QCOMPARE(prova.dialoghi.messaggi.first().icona, Icona::Esclamazione);

        // A write keeps it aside under another name, says so, and starts a new file.
        ScriviIni("Percorsi", "DataBase", "/srv");
        const QStringList daParte = QDir(prova.cartella()).entryList({"Velmira.ini.non-valido-*"});
        QCOMPARE(daParte.size(), 1);
        QCOMPARE(LeggiFile(prova.percorso(daParte.first())), estraneo);
        QCOMPARE(prova.dialoghi.messaggi.size(), 2);
        QVERIFY(prova.dialoghi.messaggi.last().testo.contains(daParte.first()));
        QCOMPARE(LeggiIni("Percorsi", "DataBase"), "/srv");

        // The same problem once the file worked again is told again; so is another one.
        prova.scriviFile("Velmira.ini", estraneo);
        QCOMPARE(LeggiIni("Percorsi", "DataBase"), QString());
        QFile::remove(PercorsoVelmiraIni());
        QDir().mkpath(PercorsoVelmiraIni() + "/cartella");
        QCOMPARE(LeggiIni("Percorsi", "DataBase"), QString());
        QCOMPARE(LeggiIni("Percorsi", "DataBase"), QString());
        QCOMPARE(prova.dialoghi.messaggi.size(), 4);
    }
};

QTEST_GUILESS_MAIN(TestImpostazioni)
#include "tst_impostazioni.moc"
