#include "PostazioneProva.h"
#include "DiscoPiccolo.h"
#include "archive/Archivio.h"
#include "import/cImporta.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <unistd.h>

#ifndef ESEGUIBILE_VELMIRA
#error "ESEGUIBILE_VELMIRA must name the velmira executable"
#endif

namespace {

struct Esito
{
    int codice;
    QByteArray uscita;
    QString errori;
};

QStringList Importa(const PostazioneProva& p, const QString& programma = {}, const QString& database = {})
{
    return QStringList{"importa"} + p.opzioni(programma, database);
}

// `figlio` runs in the child before the program starts.
Esito velmira(const QStringList& argomenti, const std::function<void()>& figlio = {})
{
    QProcess processo;
    if (figlio)
        processo.setChildProcessModifier(figlio);
    processo.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomenti);
    // Generous: on a busy machine a large run on the server takes its time.
    if (!processo.waitForFinished(400000))
        return {-1, {}, QStringLiteral("non terminato")};
    return {processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1,
            processo.readAllStandardOutput(), QString::fromUtf8(processo.readAllStandardError())};
}

QString Completo(int righe)
{
    return QStringLiteral("ok %1 %1 %1").arg(righe);
}

// The names a list gives as archived and as not archived.
struct Nominati
{
    QSet<QString> archiviati;
    QSet<QString> falliti;
};
Nominati NominatiNellElenco(const QByteArray& elenco, const QString& cartella)
{
    Nominati n;
    const QString problema = QStringLiteral("Problemi nell'archiviazione del file: ");
    for (const QString& riga : QString::fromUtf8(elenco).split(QStringLiteral("\r\n"))) {
        if (riga.startsWith(cartella + '/'))
            n.archiviati.insert(riga.mid(cartella.size() + 1));
        else if (riga.startsWith(problema))
            n.falliti.insert(riga.mid(problema.size()).chopped(1));
    }
    return n;
}

} // namespace

// The command-line tool run as a real program.
class TestVelmira : public QObject
{
    Q_OBJECT

private slots:
    void discoPienoPerLArchivio()
    {
        if (ProvaSuServer())
            QSKIP("the archive file is on the full disk only on the embedded engine");
        PostazioneProva p({}, Numerati(40000));
        // The archive on a nearly full disk of its own: room for about 17000 rows.
        DiscoPiccolo disco(p.percorso("disco"), 12288);
        if (!disco.montato())
            QSKIP(qPrintable(disco.motivo()));
        const QString archivio = p.percorso("disco/dati.mdb");
        QVERIFY(QFile::copy(p.database, archivio));
        disco.riempi(2500 * 1024);

        const Esito pieno = velmira(Importa(p, {}, archivio));
        QVERIFY2(pieno.codice == 1 && pieno.errori.contains("Disco pieno"), qPrintable(pieno.errori));
        // Listed as archived exactly when the row is there, as failed exactly when not,
        // and the run stopped instead of trying every file left.
        const QSet<QString> righe = StampeArchiviate(archivio);
        const Nominati nominati = NominatiNellElenco(pieno.uscita, p.cartellaPdf);
        QCOMPARE(nominati.archiviati, righe);
        QVERIFY(!nominati.falliti.intersects(righe));
        QVERIFY2(righe.size() + nominati.falliti.size() < 40000,
                 qPrintable(QStringLiteral("%1 %2").arg(righe.size()).arg(nominati.falliti.size())));
        // A fast machine may fill the disk with its very first batch.
        QVERIFY(pieno.uscita.endsWith(Archiviati(righe.size()).toUtf8() + "\r\n"));

        disco.libera();
        const Esito ripresa = velmira(Importa(p, {}, archivio));
        QVERIFY2(ripresa.codice == 0, qPrintable(ripresa.errori));
        QCOMPARE(StatoArchivio(archivio), Completo(40000));
    }

    void discoPienoPerLElenco()
    {
        if (ProvaSuServer())
            QSKIP("a fault of the list file alone, tried on the embedded engine");
        PostazioneProva p({}, Numerati(2000));
        const QString programma = p.percorso("programma");
        DiscoPiccolo disco(programma, 256);
        if (!disco.montato())
            QSKIP(qPrintable(disco.motivo()));
        disco.riempi(12 * 1024);
        const Esito esito = velmira(Importa(p, programma));
        QVERIFY2(esito.codice == 1 && esito.errori.contains("Impossibile scrivere l'elenco"), qPrintable(esito.errori));
        // What the list holds is whole lines, plainly cut (no closing line), and
        // it names no file without its row.
        QVERIFY(esito.uscita.startsWith("elenco file elaborati:\r\n") && esito.uscita.endsWith("\r\n\r\n"));
        QVERIFY(!esito.uscita.contains(" archiviato.\r\n") && !esito.uscita.contains(" nuovi files.\r\n"));
        QVERIFY(StampeArchiviate(p.database).contains(NominatiNellElenco(esito.uscita, p.cartellaPdf).archiviati));
    }

    void archivioDanneggiato()
    {
        if (ProvaSuServer())
            QSKIP("a damaged file is the embedded engine's fault; a server keeps its own pages");
        PostazioneProva p({}, Numerati(20000));
        QCOMPARE(velmira(Importa(p)).codice, 0);
        // 32 KB overwritten in the middle of the archive; a new document and a
        // deleted one wait for the run.
        p.documenti({"000002FAT000000120150101.pdf"});
        QFile::remove(p.pdf(Numerati(1).first()));
        const qint64 meta = QFileInfo(p.database).size() / 2 / 1024;
        QCOMPARE(QProcess::execute("dd", {"if=/dev/zero", "of=" + p.database, "bs=1024", "count=32",
                                          "seek=" + QString::number(meta), "conv=notrunc", "status=none"}),
                 0);
        const QByteArray prima = LeggiFile(p.database);

        const Esito esito = velmira(Importa(p));
        QVERIFY2(esito.codice == 1 && esito.errori.contains("danneggiato"), qPrintable(esito.errori));
        QVERIFY(LeggiFile(p.database) == prima);
        QVERIFY(NominatiNellElenco(esito.uscita, p.cartellaPdf).archiviati.isEmpty());
        QVERIFY(esito.uscita.contains("La pulizia dell'archivio non è stata eseguita"));
    }

    void archivioIlleggibile()
    {
        if (geteuid() != 0)
            QSKIP("serve root per provare un archivio che un altro utente non può leggere");
        PostazioneProva p({}, Numerati(1));
        // The program runs as a user who may use every folder but not read the archive.
        for (QString cartella = p.cartellaPdf; cartella.startsWith(p.cartella()); cartella = QFileInfo(cartella).path())
            QFile::setPermissions(cartella, QFileDevice::Permissions(0x7777));
        QVERIFY(QFile::setPermissions(p.database, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const Esito esito = velmira(Importa(p), [] {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(99);
        });
        QVERIFY2(esito.codice == 1 && esito.errori.contains("Impossibile leggere il file dell'archivio")
                     && !esito.errori.contains("non riconosciuto"),
                 qPrintable(esito.errori));
    }

    void guidaEUsoErrato()
    {
        PostazioneProva p;
        const QString archivio = p.percorso("nuovo.mdb");
        const QStringList sorveglia = QStringList{"sorveglia"} + p.opzioni();
        const std::tuple<QStringList, int, QString> casi[] = {
            {{"--help"}, 0, "velmira importa --cartella-pdf"},
            {{"importa", "--help"}, 0, "3  importazione eseguita fino in fondo"},
            {{"crea-archivio", "--help"}, 0, "crea-archivio FILE"},
            {{"esporta"}, 2, "comando sconosciuto: esporta"},
            {{"importa", "--cartella-pdf"}, 2, "manca il valore di --cartella-pdf"},
            {{"crea-archivio", archivio}, 0, ""},
            {{"crea-archivio", archivio}, 1, "esiste già"},
            {{"cerca", "--help"}, 0, "velmira cerca --database FILE"},
            {{"cerca", "--database", archivio, "--codice", "x"}, 0, ""},
            {{"cerca", "--database", archivio, "--numero", "1", "--anno", "14"}, 2, "Anno documento non valido"},
            {{"cerca", "--database", archivio, "--dal", "01/03/2014"}, 2, "--dal e --al vogliono due date"},
            {{"cerca", "--database", archivio}, 2, "cerca vuole un periodo"},
            {{"cerca", "--database", p.percorso("manca.mdb"), "--codice", "x"}, 1, "Impossibile trovare"},
            {sorveglia + QStringList{"--cartella-pdf", p.percorso("manca")}, 2, "Manca il percorso della cartella contenente i documenti pdf"},
            {sorveglia + QStringList{"--intervallo", "spesso"}, 2, "--intervallo vuole un numero di secondi"},
            {sorveglia + QStringList{"--attesa"}, 2, "manca il valore di --attesa"}};
        for (const auto& [argomenti, codice, frammento] : casi) {
            const Esito esito = velmira(argomenti);
            const QString testo = QString::fromUtf8(esito.uscita) + esito.errori;
            QVERIFY2(esito.codice == codice && testo.contains(frammento), qPrintable(argomenti.join(' ') + ": " + testo));
        }
        QCOMPARE(StatoArchivio(archivio), "ok 0 0 0");
        QVERIFY(!QFile::exists("--help"));
    }

    // The same documents on the embedded engine and, in the server's run,
    // on the server: each search lists the same lines, byte for byte. Case
    // counts for no letter, accented ones included; accented letters sort
    // after the plain ones; ties follow the file name.
    void cercaUgualeSuEntrambiIMotori()
    {
        AmbienteProva ambiente;
        QStringList archivi{ambiente.percorso("incorporato.mdb")};
        QVERIFY(!CreaArchivio(archivi[0]).presente());
        if (ProvaSuServer()) {
            archivi.append(ambiente.percorso("server.mdb"));
            QVERIFY(!CreaArchivioProva(archivi[1]).presente());
        }
        for (const QString& archivio : archivi)
            SuArchivio(archivio, [](QSqlDatabase& db) {
                QVERIFY(QSqlQuery(db).exec(
                    "insert into Posta (Stampa, Tipo, NumDoc, Data, Codice, email) values "
                    "('zz.pdf', 'BOL', '7', '2014-03-02', 'zzz999', ''), ('b2.pdf', 'FAT', '1', '2014-03-01', 'ÀBC002', ''), "
                    "('a2.pdf', 'fat', '1', '2014-03-01', 'àbc002', ''), ('C1.pdf', 'FÀT', '2', '2014-03-05', 'ÉCOLE1', ''), "
                    "('c0.pdf', 'fàt', '2', '2014-03-05', 'école1', ''), ('d1.pdf', 'NCR', '3', '2014-03-03', 'Ab 12', ''), "
                    "('d0.pdf', 'ncr', '3', '2014-04-03', 'aB 12', ''), ('e.pdf', 'BOL', 'ñ1', '2015-01-01', 'Ñandú', '')"));
            });
        const std::pair<QStringList, QStringList> ricerche[] = {
            {{"--dal", "01/03/2014", "--al", "31/03/2014"}, {"zz.pdf", "a2.pdf", "b2.pdf", "c0.pdf", "C1.pdf", "d1.pdf"}},
            {{"--codice", "àbc002"}, {"a2.pdf", "b2.pdf"}},
            {{"--codice", " AB 12 "}, {"d1.pdf", "d0.pdf"}},
            {{"--codice", "ÉCOLE1", "--dal", "01/03/2014", "--al", "31/03/2014", "--tipo", "FÀT"}, {"c0.pdf", "C1.pdf"}},
            {{"--numero", "Ñ1", "--anno", "2015"}, {"e.pdf"}},
            {{"--numero", "1", "--anno", "2014", "--tipo", "FAT"}, {"a2.pdf", "b2.pdf"}},
            {{"--dal", "01/01/2013", "--al", "31/12/2013", "--tipo", "Tutti"}, {}}};
        for (const auto& [criteri, attese] : ricerche) {
            QList<QByteArray> uscite;
            for (const QString& archivio : archivi) {
                const Esito esito = velmira(QStringList{"cerca", "--database", archivio} + criteri);
                QStringList stampe;
                for (const QByteArray& riga : esito.uscita.split('\n'))
                    if (!riga.isEmpty())
                        stampe.append(QString::fromUtf8(riga.split('\t').first()));
                QVERIFY2(esito.codice == 0 && stampe == attese, qPrintable(criteri.join(' ') + ": " + esito.uscita));
                uscite.append(esito.uscita);
            }
            QCOMPARE(uscite.last(), uscite.first());
        }
        QVERIFY(velmira({"cerca", "--database", archivi[0], "--codice", "zzz999"}).uscita
                == "zz.pdf\tBOL\t7\t02/03/2014\tzzz999\n");
    }

    // Each way an import ends, with its exit status: paths that fail their
    // check (no run, no list), every file archived, some refused, widths
    // missing (the run stops). The list goes to standard output as well.
    void importaEdEsiti()
    {
        PostazioneProva p({}, {"000123FAT000045220140318.pdf", "C00123BOL000000120150101.pdf", "leggimi.txt"});
        const Esito percorso = velmira(Importa(p, {}, p.server + "/manca.mdb"));
        QVERIFY2(percorso.codice == 2 && percorso.errori.contains("Manca il percorso del database"),
                 qPrintable(percorso.errori));
        QVERIFY(percorso.uscita.isEmpty() && !QFile::exists(PercorsoElencoImportazione()));

        const Esito esito = velmira(Importa(p));
        QVERIFY2(esito.codice == 0 && esito.errori.isEmpty(), qPrintable(esito.errori));
        QCOMPARE(esito.uscita, p.elenco().join("\r\n").toUtf8() + "\r\n");
        QVERIFY(esito.uscita.endsWith(Archiviati(2).toUtf8() + "\r\n"));

        // Some files not archived, then a row the clean-up could not take: the
        // run went to its end, but not everything is done.
        p.documenti(Numerati(3));
        SuArchivio(p.database, [](QSqlDatabase& db) { QVERIFY(Rifiuta(db, "insert", "NumDoc", "2", "rifiutato")); });
        QCOMPARE(velmira(Importa(p)).codice, 3);
        QFile::remove(p.pdf(Numerati(3).last()));
        SuArchivio(p.database, [](QSqlDatabase& db) {
            QVERIFY(Accetta(db) && Rifiuta(db, "delete", "Stampa", Numerati(3).last(), "trattenuto"));
        });
        QCOMPARE(velmira(Importa(p)).codice, 3);
        SuArchivio(p.database, [](QSqlDatabase& db) { QVERIFY(Accetta(db)); });
        QCOMPARE(velmira(Importa(p)).codice, 0);
        QCOMPARE(velmira(Importa(p)).codice, 0);

        // A run stopped by an error: the message, and the list of what was done.
        p.scriviFile("server/spooling.ini", "[AS/400]\nLunCodCli=6\nLunTipDoc=3\n");
        const Esito lunghezze = velmira(Importa(p));
        QVERIFY2(lunghezze.codice == 1 && lunghezze.errori.contains("manca la lunghezza LunNumDoc"),
                 qPrintable(lunghezze.errori));
        QCOMPARE(lunghezze.uscita, p.elenco().join("\r\n").toUtf8() + "\r\n");
        QVERIFY(lunghezze.uscita.contains("manca la lunghezza LunNumDoc")
                && lunghezze.uscita.endsWith("Nessun nuovo file archiviato.\r\n"));
    }

    void interrottaBruscamente()
    {
        // Enough files for the kill to land halfway.
        const int documenti = 30000;
        PostazioneProva p({}, Numerati(documenti));
        QProcess processo;
        processo.start(QStringLiteral(ESEGUIBILE_VELMIRA), Importa(p));
        // Killed once some batches are in: a run takes about a second, so
        // the list is watched closely rather than between events.
        QVERIFY(AttendiDaVicino([] { return QFile(PercorsoElencoImportazione()).size() > 2000; }));
        processo.kill();
        processo.waitForFinished();

        // The list is plainly cut (no closing line) and names no file whose
        // row is not in the archive. A kill in the middle of a write may cut
        // its last line (the kernel stops a write at a page boundary): the
        // lines before it are whole.
        QFile elenco(PercorsoElencoImportazione());
        QVERIFY(elenco.open(QIODevice::ReadOnly));
        QByteArray tagliato = elenco.readAll();
        QVERIFY(!tagliato.contains(" nuovi files.\r\n"));
        tagliato.truncate(tagliato.lastIndexOf("\r\n") + 2);
        QVERIFY(StampeArchiviate(p.database).contains(NominatiNellElenco(tagliato, p.cartellaPdf).archiviati));
        const QString stato = StatoArchivio(p.database);
        const int righe = stato.section(' ', 1, 1).toInt();
        QCOMPARE(stato, Completo(righe));
        QVERIFY2(righe > 0 && righe < documenti, qPrintable(stato));

        // Again, with a second workstation importing the same folder at the
        // same time and another run from this program folder waiting for its
        // turn: once the first is killed the other two finish, each showing a
        // whole list of its own, and no file is archived by both.
        QDir().mkpath(p.percorso("seconda"));
        QProcess corse[2];
        corse[0].start(QStringLiteral(ESEGUIBILE_VELMIRA), Importa(p, p.percorso("seconda")));
        processo.start(QStringLiteral(ESEGUIBILE_VELMIRA), Importa(p));
        QTRY_VERIFY_WITH_TIMEOUT(StatoArchivio(p.database).section(' ', 1, 1).toInt() > righe + 50, 400000);
        corse[1].start(QStringLiteral(ESEGUIBILE_VELMIRA), Importa(p));
        QVERIFY(corse[1].waitForStarted());
        QTest::qWait(300);
        processo.kill();
        processo.waitForFinished();
        QSet<QString> archiviati;
        QByteArray uscita;
        for (QProcess& corsa : corse) {
            // The second workstation may have ended while events ran.
            QVERIFY((corsa.state() == QProcess::NotRunning || corsa.waitForFinished(400000)) && corsa.exitCode() == 0);
            uscita = corsa.readAllStandardOutput();
            QVERIFY(uscita.count("elenco file elaborati:") == 1
                    && uscita.count(" archiviato.\r\n") + uscita.count(" nuovi files.\r\n") == 1);
            const QSet<QString> nominati = NominatiNellElenco(uscita, p.cartellaPdf).archiviati;
            QVERIFY(!archiviati.intersects(nominati));
            archiviati += nominati;
        }
        QCOMPARE(p.elenco().join("\r\n").toUtf8() + "\r\n", uscita);
        QCOMPARE(StatoArchivio(p.database), Completo(documenti));
        QVERIFY(velmira(Importa(p)).uscita.endsWith("Nessun nuovo file archiviato.\r\n"));
    }

    void archivioPortatoSulServer()
    {
        if (!ProvaSuServer())
            QSKIP("the move goes to a server");
        PostazioneProva p({}, {"000123FAT000045220140318.pdf", "000124BOL000000720150102.pdf"});
        // The office's archive file, filled by two runs (the second after a PDF went).
        const QString vecchio = p.percorso("vecchio.mdb");
        QVERIFY(!CreaArchivio(vecchio).presente());
        QCOMPARE(velmira(Importa(p, {}, vecchio)).codice, 0);
        QFile::remove(p.pdf("000123FAT000045220140318.pdf"));
        p.documenti({"000125NCR000000320150105.pdf"});
        QCOMPARE(velmira(Importa(p, {}, vecchio)).codice, 0);
        SuArchivio(vecchio, [](QSqlDatabase& db) {
            QVERIFY(QSqlQuery(db).exec("insert into EmailInviate (Stampa, dtinvio, EmailDest, Esito) values "
                                       "('000125NCR000000320150105.pdf', '2015-01-06 09:30:00', 'a@b.it', 'Inviato')"));
        });

        const QString nuovo = p.percorso("nuovo.mdb");
        const QString parametri = NuovoDatabaseProva();
        const Esito creato = velmira({"crea-archivio", nuovo, "--server", parametri});
        QVERIFY2(creato.codice == 0, qPrintable(creato.errori));
        QVERIFY(velmira({"crea-archivio", p.percorso("ancora.mdb"), "--server", parametri}).errori.contains(
            "contiene già le tabelle"));
        QCOMPARE(velmira({"crea-archivio", p.percorso("x.mdb"), "--server", parametri + " password=x"}).codice, 1);
        QVERIFY(!QFile::exists(p.percorso("ancora.mdb")) && !QFile::exists(p.percorso("x.mdb")));

        const Esito trasferito = velmira({"trasferisci", vecchio, nuovo});
        QVERIFY2(trasferito.codice == 0 && trasferito.errori.contains("\rTrasferimento: 3 di 3 righe"),
                 qPrintable(trasferito.errori));
        // Row for row, keys included; the server's next key follows them.
        QStringList righe;
        SuArchivio(nuovo, [&righe](QSqlDatabase& db) {
            QSqlQuery q(db);
            QVERIFY(q.exec("insert into posta (stampa) values ('nuova.pdf')"));
            QVERIFY(q.exec("select id || ' ' || stampa || ' ' || coalesce(tipo, '') || ' ' || coalesce(cast(data as text), '') "
                           "from posta union all select tipo || ' ' || dtinvio from qryemail order by 1"));
            while (q.next())
                righe.append(q.value(0).toString());
        });
        QCOMPARE(righe, (QStringList{"2 000124BOL000000720150102.pdf BOL 2015-01-02",
                                     "3 000125NCR000000320150105.pdf NCR 2015-01-05", "4 nuova.pdf  ",
                                     "NCR 2015-01-06 09:30:00"}));
        const Esito ancora = velmira({"trasferisci", vecchio, nuovo});
        QVERIFY2(ancora.codice == 1 && ancora.errori.contains("contiene già 3 righe nella tabella Posta"),
                 qPrintable(ancora.errori));
        QVERIFY(velmira({"trasferisci", vecchio, vecchio}).errori.contains("non è un file di collegamento"));
    }
};

QTEST_GUILESS_MAIN(TestVelmira)
#include "tst_velmira.moc"
