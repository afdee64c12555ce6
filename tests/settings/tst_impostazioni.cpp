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
    void init() { ambiente = std::make_unique<AmbienteProva>(); }
    void cleanup() { ambiente.reset(); }
    void messaggioAndataERitorno_data();
    void messaggioAndataERitorno();
    void messaggioVuotoLasciaQuelloSalvato();
    void fileNuovoPrivatoEConservaIlResto();
    void nomiSenzaRiguardoAlleMaiuscole();
    void fileScrittoSuWindows();
    void fileCheNonETestoNonSiTocca();
    void valoreSuPiuRigheRifiutato();
    void sezioneMalChiusa();
    void riscritturaFedeleEPrivata();
    void impostazioniEmail();

private:
    std::unique_ptr<AmbienteProva> ambiente;
    QByteArray contenuto() const
    {
        QFile f(PercorsoVelmiraIni());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
};

void TestImpostazioni::messaggioAndataERitorno_data()
{
    QTest::addColumn<QString>("scritto");
    QTest::addColumn<QString>("salvato");
    QTest::addColumn<QString>("riletto");
    QTest::newRow("two lines") << "Buongiorno,\r\nin allegato" << "Buongiorno,+in allegato"
                               << "Buongiorno,\r\nin allegato";
    QTest::newRow("bare line feeds") << "a\nb" << "a+b" << "a\r\nb";
    QTest::newRow("plus inside a line splits it") << "1+1" << "1+1" << "1\r\n1";
    QTest::newRow("empty line inside") << "a\r\n\r\nb" << "a++b" << "a\r\n\r\nb";
    QTest::newRow("line break at the end") << "a\r\n" << "a+" << "a\r\n";
    QTest::newRow("accents") << "Cordialità\r\nè" << "Cordialità+è" << "Cordialità\r\nè";
    QTest::newRow("old Mac carriage returns") << "a\rb\r" << "a+b+" << "a\r\nb\r\n";
    QTest::newRow("byte order mark in front") << "\uFEFFciao" << "\uFEFFciao" << "\uFEFFciao";
}

void TestImpostazioni::messaggioAndataERitorno()
{
    QFETCH(QString, scritto);
    QFETCH(QString, salvato);
    QFETCH(QString, riletto);
    QString messaggio = scritto;
    LeggiScriviMessaggio(messaggio, false);
    QCOMPARE(LeggiIni(QStringLiteral("Email"), QStringLiteral("Messaggio")), salvato);
    QString letto;
    LeggiScriviMessaggio(letto, true);
    QCOMPARE(letto, riletto);
}

void TestImpostazioni::messaggioVuotoLasciaQuelloSalvato()
{
    QString messaggio = QStringLiteral("uno\r\ndue");
    LeggiScriviMessaggio(messaggio, false);
    QString vuoto;
    LeggiScriviMessaggio(vuoto, false);
    QString letto = QStringLiteral("da sostituire");
    LeggiScriviMessaggio(letto, true);
    QCOMPARE(letto, QStringLiteral("uno\r\ndue"));

    ScriviIni(QStringLiteral("Email"), QStringLiteral("Messaggio"), QString());
    LeggiScriviMessaggio(letto, true);
    QCOMPARE(letto, QString());
}

void TestImpostazioni::fileNuovoPrivatoEConservaIlResto()
{
    QVERIFY(!EsisteVelmiraIni());
    QCOMPARE(LeggiIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase")), QString());
    ScriviIni(QStringLiteral("EliminaTemp"), QStringLiteral("Durata"), QStringLiteral("7"));
    QVERIFY(EsisteVelmiraIni());
    // It holds the mail password: nobody but its owner reads it.
    const auto permessi = QFile::permissions(PercorsoVelmiraIni());
    QVERIFY(permessi.testFlags(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(permessi & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
                         | QFileDevice::WriteOther), QFileDevice::Permissions());
    QCOMPARE(contenuto(), QByteArray("[EliminaTemp]\nDurata=7\n"));

    ambiente->scriviFile(QStringLiteral("Velmira.ini"),
                         "; commento dell'ufficio\n[Percorsi]\nCartellaPDF=/srv/pdf\nDataBase=/srv/db\n");
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaLocale"), QStringLiteral("/home/u/documenti"));
    const QByteArray dopo = contenuto();
    QVERIFY(dopo.contains("; commento dell'ufficio"));
    QVERIFY(dopo.contains("CartellaPDF=/srv/pdf\nDataBase=/srv/db\nCartellaLocale=/home/u/documenti"));
    QVERIFY(ambiente->dialoghi.messaggi.isEmpty());
}

void TestImpostazioni::nomiSenzaRiguardoAlleMaiuscole()
{
    ambiente->scriviFile(QStringLiteral("Velmira.ini"), "[PERCORSI]\ndatabase=/srv/Marvena\n");
    QCOMPARE(LeggiIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase")), QStringLiteral("/srv/Marvena"));
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), QStringLiteral("/altro"));
    QCOMPARE(contenuto().count("atabase="), 1);
    QCOMPARE(LeggiIni(QStringLiteral("percorsi"), QStringLiteral("DATABASE")), QStringLiteral("/altro"));
}

void TestImpostazioni::fileScrittoSuWindows()
{
    ambiente->scriviFile(QStringLiteral("Velmira.ini"), "[Email]\r\nOggetto=Fattura n\xb0 1 \xe8 pronta\r\n");
    QCOMPARE(LeggiIni(QStringLiteral("Email"), QStringLiteral("Oggetto")), QStringLiteral("Fattura n° 1 è pronta"));
}

void TestImpostazioni::fileCheNonETestoNonSiTocca()
{
    const QString chiave = QStringLiteral("DataBase");
    const QString percorsi = QStringLiteral("Percorsi");
    for (const QByteArray& estraneo : {QByteArray("\x00\x01\x02[Percorsi]\nDataBase=x\n", 26),
                                       QByteArray("Appunti del lunedì\n[Percorsi]\nDataBase=x\n")}) {
        AmbienteProva prova;
        prova.scriviFile(QStringLiteral("Velmira.ini"), estraneo);
        // Read as empty values, and told once however often it is read.
        QCOMPARE(LeggiIni(percorsi, chiave), QString());
        QCOMPARE(LeggiIni(percorsi, chiave), QString());
        QCOMPARE(prova.dialoghi.messaggi.size(), 1);
        QVERIFY(prova.dialoghi.messaggi.first().testo.contains(QStringLiteral("non è un file di impostazioni")));
        QCOMPARE(prova.dialoghi.messaggi.first().icona, Icona::Esclamazione);

        // A write keeps it aside under another name, says so, and starts a new file.
        ScriviIni(percorsi, chiave, QStringLiteral("/srv"));
        const QStringList daParte = QDir(prova.cartella()).entryList({"Velmira.ini.non-valido-*"});
        QCOMPARE(daParte.size(), 1);
        QFile conservato(prova.percorso(daParte.first()));
        QVERIFY(conservato.open(QIODevice::ReadOnly) && conservato.readAll() == estraneo);
        QCOMPARE(prova.dialoghi.messaggi.size(), 2);
        QVERIFY(prova.dialoghi.messaggi.last().testo.contains(daParte.first()));
        QCOMPARE(LeggiIni(percorsi, chiave), QStringLiteral("/srv"));

        // The same problem once the file worked again is told again; so is another one.
        prova.scriviFile(QStringLiteral("Velmira.ini"), estraneo);
        QCOMPARE(LeggiIni(percorsi, chiave), QString());
        QFile::remove(PercorsoVelmiraIni());
        QDir().mkpath(PercorsoVelmiraIni() + "/cartella");
        QCOMPARE(LeggiIni(percorsi, chiave), QString());
        QCOMPARE(LeggiIni(percorsi, chiave), QString());
        QCOMPARE(prova.dialoghi.messaggi.size(), 4);
    }
}

void TestImpostazioni::riscritturaFedeleEPrivata()
{
    // Written on Windows: its code page, its line ends, its spacing and comments stay.
    ambiente->scriviFile(QStringLiteral("Velmira.ini"),
                         "; nota\r\n[Email]\r\nOggetto = Fattura n\xb0 1\r\n\r\n[Percorsi]\r\nDataBase=/srv\r\n");
    QVERIFY(QFile::setPermissions(PercorsoVelmiraIni(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                            | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    ScriviIni(QStringLiteral("email"), QStringLiteral("OGGETTO"), QStringLiteral("Nuovo è"));
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF"), QStringLiteral("/pdf"));
    ScriviIni(QStringLiteral("Test"), QStringLiteral("AttivaLog"), QStringLiteral("FALSO"));
    QCOMPARE(contenuto(), QByteArray("; nota\r\n[Email]\r\nOggetto = Nuovo \xe8\r\n\r\n[Percorsi]\r\nDataBase=/srv\r\n"
                                     "CartellaPDF=/pdf\r\n\r\n[Test]\r\nAttivaLog=FALSO\r\n"));
    // Others could read it: it holds the password, now only its owner can.
    QCOMPARE(QFile::permissions(PercorsoVelmiraIni()) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    // A value the code page cannot hold turns the file to UTF-8 rather than lose it.
    ScriviIni(QStringLiteral("Email"), QStringLiteral("Oggetto"), QStringLiteral("€ ✓"));
    QCOMPARE(LeggiIni(QStringLiteral("Email"), QStringLiteral("Oggetto")), QStringLiteral("€ ✓"));
    QVERIFY(contenuto().startsWith("; nota\r\n[Email]\r\nOggetto = \xe2\x82\xac"));
    QVERIFY(ambiente->dialoghi.messaggi.isEmpty());
}

void TestImpostazioni::sezioneMalChiusa()
{
    // A line starting with '[' ends the section above it for the reader, whatever
    // follows: a value added to that section must go above it, not after it.
    ambiente->scriviFile(QStringLiteral("Velmira.ini"),
                         "[Percorsi]\nDataBase=/a\n[Vecchie=note senza chiusura\nx=1\n[Email]\nPorta=25\n");
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF"), QStringLiteral("/pdf"));
    ScriviIni(QStringLiteral("Email"), QStringLiteral("SMTP"), QStringLiteral("smtp.ditta.it"));
    QCOMPARE(LeggiIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF")), QStringLiteral("/pdf"));
    QCOMPARE(LeggiIni(QStringLiteral("Email"), QStringLiteral("SMTP")), QStringLiteral("smtp.ditta.it"));
    QCOMPARE(LeggiIni(QStringLiteral("Email"), QStringLiteral("Porta")), QStringLiteral("25"));
    QCOMPARE(LeggiIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase")), QStringLiteral("/a"));

    // Nor is a vertical tab a blank for the reader: that line is another key.
    ambiente->scriviFile(QStringLiteral("Velmira.ini"), "[Email]\n\vOggetto=vecchio\n");
    ScriviIni(QStringLiteral("Email"), QStringLiteral("Oggetto"), QStringLiteral("nuovo"));
    QCOMPARE(LeggiIni(QStringLiteral("Email"), QStringLiteral("Oggetto")), QStringLiteral("nuovo"));
}

void TestImpostazioni::valoreSuPiuRigheRifiutato()
{
    const QByteArray prima("[Percorsi]\nDataBase=/srv/db\n");
    const QString percorso = ambiente->scriviFile(QStringLiteral("Velmira.ini"), prima);
    // The rest of each value would otherwise become a line of its own: here a new DataBase.
    for (const QString& valore : {QStringLiteral("/x\nDataBase=/altrove"), QStringLiteral("/x\rDataBase=/altrove"),
                                  QStringLiteral("/x\r\n[Percorsi]"), QStringLiteral("/x") + QChar(0) + QStringLiteral("y")}) {
        QVERIFY(!ScriviValoreIni(percorso, QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF"), valore));
        QCOMPARE(contenuto(), prima);
    }
    QCOMPARE(LeggiIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase")), QStringLiteral("/srv/db"));
    // Told every time: each refusal is a different value the user tried to save.
    QCOMPARE(ambiente->dialoghi.messaggi.size(), 4);
    QVERIFY(ambiente->dialoghi.messaggi.first().testo.contains(QStringLiteral("CartellaPDF contiene un a capo")));
    QCOMPARE(ambiente->dialoghi.messaggi.first().icona, Icona::Esclamazione);
}

void TestImpostazioni::impostazioniEmail()
{
    ambiente->scriviFile(QStringLiteral("Velmira.ini"),
                         "[Email]\nIndirizzo=a@b.it\nSMTP=smtp.b.it\nUserID=u\nPassword=p=q\n"
                         "Oggetto=Documenti\nMessaggio=Salve+A presto\n");
    const EmailImpostazioni e = LeggiImpostazioniEmail();
    QCOMPARE(e.Indirizzo, QStringLiteral("a@b.it"));
    QCOMPARE(e.Password, QStringLiteral("p=q"));
    QCOMPARE(e.Messaggio, QStringLiteral("Salve\r\nA presto"));
    QCOMPARE(e.Porta, QString());
}

QTEST_GUILESS_MAIN(TestImpostazioni)
#include "tst_impostazioni.moc"
