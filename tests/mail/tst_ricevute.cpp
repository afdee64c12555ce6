#include "ArchivioProva.h"
#include "RicevutaProva.h"
#include "ServerImapProva.h"
#include "mail/RegistraInvii.h"
#include "archive/Archivio.h"
#include "components/DatiReport.h"
#include "mail/RicevutaPec.h"
#include "mail/StatoInvii.h"
#include "settings/Impostazioni.h"

#include <QtTest>

#include <unistd.h>

namespace {

// A run of the program: its exit code, what it wrote and what it complained of.
QStringList velmira(const QStringList& argomenti)
{
    QProcess p;
    p.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomenti);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? QString::number(p.exitCode()) : QStringLiteral("interrotto"),
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

// Certified-mail receipts: reading them, and what they change.
class TestRicevute : public QObject
{
    Q_OBJECT

private slots:
    // The receipts the mailbox below never brings, one per row.
    void lettura()
    {
        const QString id = "<a1@esempio.it>";
        const auto cambiato = [](const RicevutaProva& r, const QByteArray& da, const QByteArray& a) {
            return MessaggioRicevutaProva(r).replace(da, a);
        };
        // What each says: "stato|destinatario|motivo".
        const QList<std::tuple<const char*, QByteArray, QString>> casi{
            {"accettazione, righe con LF", cambiato({"accettazione", id}, "\r\n", "\n"), "accettato||"},
            {"non accettazione senza errore esteso", MessaggioRicevutaProva({"non-accettazione", id, {}, "c-3", "virus"}),
             "non accettato||virus"},
            {"preavviso", MessaggioRicevutaProva({"preavviso-errore-consegna", id, "y@pec.it", "c-4", "altro", "nessuna risposta"}),
             "non consegnato|y@pec.it|preavviso di mancata consegna: nessuna risposta"},
        };
        for (const auto& [nome, messaggio, atteso] : casi) {
            QString difetto;
            const auto r = LeggiMessaggioRicevuta(messaggio, &difetto);
            QVERIFY2(r && r->dati.data == QDateTime(QDate(2014, 3, 15), QTime(10, 31, 7)) && r->firma.isEmpty(),
                     qPrintable(QStringLiteral("%1: %2").arg(nome, difetto)));
            const auto effetto = EffettoDi(r->dati);
            QVERIFY2(effetto, nome);
            QCOMPARE(QStringList({effetto->stato, effetto->destinatario, effetto->motivo}).join('|'), atteso);
        }
    }

    // Three documents sent; their receipts, genuine, forged, repeated, about
    // another message or broken, read from a real IMAP server; then a second
    // run that reads only what came since, and the server's two faults.
    void casellaImap()
    {
        if (::geteuid() != 0)
            QSKIP("il server IMAP di prova (dovecot) si avvia solo come root");
        ArchivioProva archivio({"fat1.pdf FAT 1 2014-03-15 C1", "fat2.pdf FAT 2 2014-03-15 C1", "fat3.pdf FAT 3 2014-03-15 C2"});
        ServerImapProva server(archivio.percorso("imap"));
        QVERIFY2(server.porta(), qPrintable(server.errore()));
        const EnteProva ente(archivio.percorso("ente")), falso(archivio.percorso("falso"));
        QVERIFY2(ente.errore.isEmpty() && falso.errore.isEmpty(), qPrintable(ente.errore + falso.errore));
        for (const auto& [chiave, valore] : {std::pair{"ServerImap", QString("127.0.0.1")}, {"PortaImap", QString::number(server.porta())},
                                             {"UserID", QString(ServerImapProva::utente)}, {"Password", QString(ServerImapProva::password)},
                                             {"CertificatoCA", server.certificato()}, {"CertificatiPec", ente.FileCA()}})
            ScriviIni("Email", chiave, valore);
        QByteArray righe;
        for (const char* d : {"1 rossi", "2 bianchi", "3 verdi"})
            righe += QStringLiteral("15/03/2014 10:30:0%1 - ufficio@esempio.it <m%1@esempio.it> 250 Ok - %2@esempio.it - Inviato - "
                                    "/srv/pdf/fat%1.pdf\r\n").arg(QString(d).section(' ', 0, 0), QString(d).section(' ', 1)).toUtf8();
        archivio.scriviFile("ElencoMail_1.txt", righe);
        QCOMPARE(RegistraInvii(archivio.database).registrate, 3);

        const RicevutaProva consegna1{"avvenuta-consegna", "<m1@esempio.it>", "rossi@esempio.it", "c1"};
        QByteArray discorde = ente.Firmato({"accettazione", "<m2@esempio.it>", {}, "a2"});
        discorde.replace("X-Riferimento-Message-ID: <m2@", "X-Riferimento-Message-ID: <m9@");
        const QList<std::pair<const char*, QByteArray>> arrivi{
            {"1-accettazione", ente.Firmato({"accettazione", "<m1@esempio.it>", {}, "a1"})},
            {"2-consegna", ente.Firmato(consegna1)},
            {"3-ripetuta", ente.Firmato(consegna1)},
            {"4-falsa", falso.Firmato({"avvenuta-consegna", "<m2@esempio.it>", "bianchi@esempio.it", "c2"})},
            {"5-errore", ente.Firmato({"errore-consegna", "<m3@esempio.it>", "verdi@esempio.it", "e3", "no-dest", "utente sconosciuto"})},
            {"6-altrui", ente.Firmato({"accettazione", "<x@altrove.it>", {}, "x1"})},
            {"7-presa", ente.Firmato({"presa-in-carico", "<m1@esempio.it>", {}, "p1"})},
            {"8-discorde", discorde},
            {"9-lettera", "From: cliente@esempio.it\r\nSubject: grazie\r\n\r\nRicevuto.\r\n"}};
        for (const auto& [nome, messaggio] : arrivi)
            server.consegna(nome, messaggio);
        const QStringList casella = server.contenuto();

        const QStringList comando{"ricevute", "--cartella-programma", archivio.cartella()};
        QCOMPARE(velmira(comando),
                 (QStringList{"0", "Ricevute lette: 8; registrate: 1 accettazione, 1 consegna, 1 mancata accettazione o consegna; "
                                   "messe da parte: 1 non valide (firma), 1 per messaggi non inviati da qui, 1 già registrate, "
                                   "1 illeggibili, 1 di altro tipo.\n", ""}));
        const auto stato = [&] { return velmira(comando + QStringList{"--stato"}).value(1).split('\n', Qt::SkipEmptyParts); };
        QCOMPARE(stato(), (QStringList{
                              "fat1.pdf\trossi@esempio.it\t<m1@esempio.it>\tconsegnato\t15/03/2014 10:31:07\t",
                              "fat2.pdf\tbianchi@esempio.it\t<m2@esempio.it>\tricevuta non valida\t15/03/2014 10:31:07\tfirma del gestore non valida",
                              "fat3.pdf\tverdi@esempio.it\t<m3@esempio.it>\tnon consegnato\t15/03/2014 10:31:07\tutente sconosciuto"}));
        // The printed list of sent e-mails shows the same, row by row.
        RegistraStatoConsegna();
        const auto layout = LeggiLayoutReport(QStringLiteral(VELMIRA_REPORT_ELENCO));
        const auto dati = LeggiDatiReport(*layout, StringaConnessione(archivio.database, {}), "select * from qryEmail order by Stampa");
        QVERIFY2(dati, qPrintable(dati.errore().testo()));
        QStringList consegne;
        for (const QStringList& riga : dati->righe)
            consegne.append(riga.last());
        QCOMPARE(consegne, (QStringList{"consegnato il 15/03/2014 10:31", "ricevuta non valida il 15/03/2014 10:31: firma del gestore non valida",
                                        "non consegnato il 15/03/2014 10:31: utente sconosciuto"}));
        // Read-only: every message still there, none marked as read.
        QStringList dopo = server.contenuto();
        QCOMPARE(dopo.size(), casella.size());
        for (const QString& file : dopo)
            QVERIFY2(!file.section(' ', 1).contains('S') && !file.section(' ', 1).contains('T'), qPrintable(file));

        // Without the providers' certificates a receipt counts, unverified;
        // only what came since is read.
        ScriviIni("Email", "CertificatiPec", "");
        server.consegna("10-consegna", ente.Firmato({"avvenuta-consegna", "<m2@esempio.it>", "bianchi@esempio.it", "c2b"}));
        QCOMPARE(velmira(comando), (QStringList{"0", "Ricevute lette: 1; registrate: 0 accettazioni, 1 consegna, "
                                                     "0 mancate accettazioni o consegne; messe da parte: nessuna.\n", ""}));
        QCOMPARE(stato().value(1), "fat2.pdf\tbianchi@esempio.it\t<m2@esempio.it>\tconsegnato\t15/03/2014 10:31:07\tricevuta non verificata");

        ScriviIni("Email", "Password", "sbagliata");
        QCOMPARE(velmira(comando), (QStringList{"1", "", "velmira: Il server della posta in arrivo 127.0.0.1 ha rifiutato "
                                                         "l'accesso: controllare utente e password nelle impostazioni.\n"}));
        ScriviIni("Email", "PortaImap", "1");
        QCOMPARE(velmira(comando), (QStringList{"1", "", "velmira: Il server della posta in arrivo 127.0.0.1 non risponde: "
                                                         "controllare il server e la porta IMAP nelle impostazioni e la "
                                                         "connessione di rete.\n"}));
    }
};

QTEST_MAIN(TestRicevute)
#include "tst_ricevute.moc"
