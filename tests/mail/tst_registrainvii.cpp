#include "ArchivioDiProva.h"
#include "ArchivioProva.h"
#include "DiscoPiccolo.h"
#include "ServerSmtpProva.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/Recordset.h"
#include "common/CartellaProgramma.h"
#include "mail/CorvexProcesso.h"
#include "mail/RegistraInvii.h"
#include "mail/Spedizione.h"
#include "settings/Contesto.h"

#include <QFile>
#include <QSqlQuery>
#include <QStandardPaths>

// The list of messages sent into EmailInviate, and the port the mail
// component is given.
class TestRegistraInvii : public QObject
{
    Q_OBJECT

    std::unique_ptr<ArchivioProva> archivio_;
    Contesto contesto_;

    // Each row of EmailInviate beside the proof kept for it, when there is
    // one: its fields joined by '|', the time in ISO form.
    QStringList Registrate() const
    {
        Recordset rs;
        if (const Errore errore = rs.ApriSql(StringaConnessione(contesto_.strDatabase),
                                             "select e.Stampa, e.dtinvio, e.EmailDest, e.Esito, p.MessageID, p.Risposta "
                                             "from EmailInviate e left join ProveInvio p on p.Stampa = e.Stampa and "
                                             "p.EmailDest = e.EmailDest and p.dtinvio = e.dtinvio order by e.dtinvio, e.Stampa");
            errore.presente())
            return {errore.testo()};
        QStringList righe;
        for (; !rs.FineFile(); rs.MoveNext()) {
            QStringList campi;
            for (int i = 0; i < rs.NumeroCampi(); ++i) {
                const QVariant valore = rs.Valore(i);
                campi.append(valore.typeId() == QMetaType::QDateTime ? valore.toDateTime().toString(Qt::ISODate)
                                                                    : valore.toString());
            }
            righe.append(campi.join('|'));
        }
        return righe;
    }

    QStringList Elenchi() const
    {
        return QDir(CartellaProgramma(UsoCartella::Dati)).entryList({"*ElencoMail*"}, QDir::Files | QDir::CaseSensitive);
    }

    // One dispatch through the real helper and a server on loopback, to the
    // message the user reads.
    QString Invia(int porta, const TabellaInvio& tabella)
    {
        Contesto contesto = contesto_;
        contesto.email.Indirizzo = "ufficio@esempio.it";
        contesto.email.SMTP = "127.0.0.1";
        const qsizetype prima = archivio_->dialoghi.messaggi.size();
        Spedizione::Avvia(std::make_unique<CorvexProcesso>(contesto, ESEGUIBILE_POSTA), contesto, porta, tabella);
        if (!QTest::qWaitFor([&] { return archivio_->dialoghi.messaggi.size() > prima; }, 60000))
            return "nessun messaggio";
        return archivio_->dialoghi.messaggi.last().testo;
    }

private slots:
    void init()
    {
        archivio_ = std::make_unique<ArchivioProva>();
        contesto_.strDatabase = archivio_->database;
        contesto_.strCartellaPDF = archivio_->cartellaPdf;
    }

    void cleanup()
    {
        archivio_.reset();
    }

    // Blank, and the bounds of 16 bits either way; the forms a number may
    // take are the number reader's own test.
    void portaSmtp()
    {
        const QList<std::pair<QString, std::optional<int>>> casi{
            {"", 0}, {"  ", 0}, {" 465 ", 465}, {"-32768", -32768}, {"65535", 65535},
            {"65536", std::nullopt}, {"-32769", std::nullopt}, {"25a", std::nullopt}};
        for (const auto& [testo, attesa] : casi)
            QVERIFY2(PortaSmtp(testo) == attesa, qPrintable(testo));
    }

    // Good, short, refused and blank lines in one list, into an archive whose
    // folder holds ';' and another workstation locks at first: then the good
    // lines stored, the others set aside under a name of their own, so that
    // the next list is taken.
    void righeBuoneCorteERifiutate()
    {
        const QString cartella = archivio_->percorso("archivio;vecchio");
        QVERIFY(QDir().mkpath(cartella) && QFile::copy(archivio_->database, cartella + "/dati.mdb"));
        contesto_.strDatabase = cartella + "/dati.mdb";
        const QByteArray righe =
            "15/03/2014 10:31:00 - ufficio@esempio.it - rossi@esempio.it - inviato - /srv/pdf/fat9.pdf\n"
            "15/03/2014 10:31:05 - ufficio@esempio.it - bianchi@esempio.it - inviato\n"
            "\r\n"
            "ieri - ufficio@esempio.it - verdi@esempio.it - inviato - /srv/pdf/bol7.pdf\n"
            "15/03/2014 10:31:09 - ufficio@esempio.it - neri@esempio.it - rifiutato - C:\\pdf\\Rossi - Bianchi.pdf\r\n";
        const QString elenco = archivio_->scriviFile("Velmira_ElencoMail_1.txt", righe);
        archivio_->scriviFile("ElencoMail.bak/dentro.txt"); // a folder is not a list
        archivio_->scriviFile("elencomail_minuscolo.txt", "x - x - x - x - /a.pdf\n");

        // Another workstation holding the archive's write lock: nothing is stored and the whole list stays.
        Connessione altra;
        QVERIFY(!altra.Apri(StringaConnessione(contesto_.strDatabase)).presente() && !altra.IniziaTransazione().presente());
        EsitoRegistrazione esito = RegistraInvii(contesto_.strDatabase);
        altra.Annulla();
        QVERIFY2(esito.registrate == 0 && esito.conservato && NotaRegistrazione(esito).contains("Archivio bloccato"),
                 qPrintable(NotaRegistrazione(esito)));
        QVERIFY(LeggiFile(elenco) == righe && Registrate().isEmpty());

        esito = RegistraInvii(contesto_.strDatabase);
        QCOMPARE(QList<int>({esito.registrate, esito.incomplete, esito.rifiutate, int(esito.conservato)}),
                 QList<int>({2, 1, 1, 0}));
        QCOMPARE(esito.file, elenco);
        QVERIFY2(esito.errore.testo().startsWith("13 "), qPrintable(esito.errore.testo()));
        QCOMPARE(Registrate(), QStringList({"fat9.pdf|2014-03-15T10:31:00|rossi@esempio.it|inviato||",
                                            "Rossi - Bianchi.pdf|2014-03-15T10:31:09|neri@esempio.it|rifiutato||"}));
        const QString accantonato = archivio_->percorso("Velmira_ElencoInviiNonRegistrati_1.txt");
        QCOMPARE(esito.accantonato, accantonato);
        QCOMPARE(LeggiFile(accantonato), QByteArray("15/03/2014 10:31:05 - ufficio@esempio.it - bianchi@esempio.it - inviato\r\n"
                                                 "ieri - ufficio@esempio.it - verdi@esempio.it - inviato - /srv/pdf/bol7.pdf\r\n"));
        const QString nota = NotaRegistrazione(esito);
        for (const QString& parte : {QStringLiteral("Righe incomplete nell'elenco degli invii, non registrate: 1."),
                                     QStringLiteral("Righe non accettate dall'archivio: 1."),
                                     "Le righe non registrate sono state messe da parte nel file " + accantonato + "."})
            QVERIFY2(nota.contains(parte), qPrintable(nota));

        // The list set aside stands in nobody's way.
        archivio_->scriviFile("ElencoMail_2.txt", "16/03/2014 09:00:00 - u - verdi@esempio.it - inviato - bol7.pdf\n");
        esito = RegistraInvii(contesto_.strDatabase);
        QVERIFY(!esito.conservato && NotaRegistrazione(esito).isEmpty() && Elenchi().isEmpty());
        QCOMPARE(Registrate().size(), 3);
    }

    // Storing a list killed at every call that changes the disk or talks to
    // the server, in turn; started again, every line is there exactly once.
    void uccisoInOgniMomento()
    {
        const QString strace = QStandardPaths::findExecutable("strace");
        if (strace.isEmpty())
            QSKIP("strace non installato (scripts/dipendenze)");
        QByteArray righe;
        QStringList attese;
        for (int i = 0; i < 3; ++i) {
            righe += QStringLiteral("15/03/2014 10:%1:00 - u <m%1@esempio.it> 250 Ok %1 - c%1@esempio.it - Inviato - /srv/pdf/d%1.pdf\r\n").arg(i + 10).toUtf8();
            attese.append(QStringLiteral("d%1.pdf|2014-03-15T10:%1:00|c%1@esempio.it|Inviato|<m%1@esempio.it>|250 Ok %1").arg(i + 10));
        }
        const QStringList registra{QCoreApplication::applicationFilePath(), "--registra", contesto_.strDatabase,
                                   CartellaProgramma(UsoCartella::Dati)};
        const auto esegui = [&](const QStringList& comando) {
            QProcess p;
            // The leak checker cannot work under ptrace: it would only say so.
            QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
            ambiente.insert("ASAN_OPTIONS", ambiente.value("ASAN_OPTIONS") + ":detect_leaks=0");
            p.setProcessEnvironment(ambiente);
            p.start(comando.first(), comando.mid(1));
            p.waitForFinished(60000);
            return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        };
        int prova = 0;
        for (const char* chiamata : {"write", "pwrite64", "fdatasync", "fsync", "unlink", "rename", "renameat2", "sendto"}) {
            for (int volta = 1;; ++volta) {
                archivio_->scriviFile(QStringLiteral("ElencoMail_%1.txt").arg(++prova), righe);
                const bool finito = esegui(QStringList{strace, "-f", "-qq", "-o", "/dev/null", "-e", QStringLiteral("trace=%1").arg(chiamata),
                                                       "-e", QStringLiteral("inject=%1:signal=KILL:when=%2").arg(chiamata).arg(volta)}
                                           + registra);
                for (int ancora = 0; ancora < 5 && !Elenchi().isEmpty(); ++ancora)
                    esegui(registra);
                const QString caso = QStringLiteral("%1 n. %2").arg(chiamata).arg(volta);
                QVERIFY2(Elenchi().isEmpty(), qPrintable(caso));
                QVERIFY2(Registrate() == attese, qPrintable(caso + ": " + QString::number(Registrate().size())));
                SuArchivio(contesto_.strDatabase, [](QSqlDatabase& db) {
                    QSqlQuery(db).exec("delete from EmailInviate");
                    QSqlQuery(db).exec("delete from ProveInvio");
                });
                if (finito)
                    break;
            }
        }
    }

    // A name with a line break, then three ordinary dispatches: each is
    // recorded, the first with its own outcome. Then twenty documents with the
    // program's folder on a full disk: delivered, recorded, and the user told
    // in Italian what happened and where.
    void inviiVeri()
    {
        ServerSmtpProva server(archivio_->percorso("smtp"), {"--modo", "chiaro"});
        QVERIFY2(server.porta(), qPrintable(server.errore()));
        const auto documento = [&](const QString& nome) { return archivio_->scriviFile("server/pdf/" + nome, "%PDF-1.4\n"); };
        Invia(server.porta(), {{documento("a\r\ncapo.pdf")}, {"uno@esempio.it"}});
        for (const char* nome : {"b.pdf", "c.pdf", "d.pdf"})
            Invia(server.porta(), {{documento(nome)}, {"due@esempio.it"}});
        // Each message's own Message-ID and the server's reply to it are kept.
        QStringList attese{"a??capo.pdf|Non inviato: nome del documento con caratteri di controllo||"};
        for (const QJsonValue m : server.messaggi())
            attese.append(m["allegati"][0]["nome"].toString() + "|Inviato|" + m["messageId"].toString()
                          + "|250 2.0.0 Ok: queued as " + m["file"].toString().left(4));
        QStringList registrate;
        for (const QString& riga : Registrate())
            registrate.append(riga.section('|', 0, 0) + '|' + riga.section('|', 3));
        registrate.sort();
        attese.sort();
        QCOMPARE(registrate, attese);

        const QString programma = archivio_->percorso("programma");
        DiscoPiccolo disco(programma, 256);
        if (!disco.montato())
            QSKIP(qPrintable(disco.motivo()));
        ImpostaCartellaProgramma(programma);
        disco.riempi(0);
        TabellaInvio venti;
        for (int i = 0; i < 20; ++i) {
            venti.percorsi.append(documento(QStringLiteral("venti%1.pdf").arg(i)));
            venti.destinatari.append(QStringLiteral("cliente%1@esempio.it").arg(i));
        }
        const QString messaggio = Invia(server.porta(), venti);
        ImpostaCartellaProgramma(archivio_->cartella());
        QCOMPARE(messaggio, "Invio terminato: 20 documenti inviati.\nImpossibile scrivere l'elenco degli invii nella cartella "
                                + programma + ": disco pieno.\n\nEsiti registrati nell'archivio anche senza elenco: 20.");
    }
};

int main(int argc, char** argv)
{
    // The storing step alone, in a process of its own, for the test that kills it.
    if (argc == 4 && QByteArray(argv[1]) == "--registra") {
        QCoreApplication programma(argc, argv);
        ImpostaCartellaProgramma(QString::fromLocal8Bit(argv[3]));
        RegistraInvii(QString::fromLocal8Bit(argv[2]));
        return 0;
    }
    QApplication programma(argc, argv);
    TestRegistraInvii prova;
    return QTest::qExec(&prova, argc, argv);
}

#include "tst_registrainvii.moc"
