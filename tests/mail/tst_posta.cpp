#include "ServerSmtpProva.h"

#include "AmbienteProva.h"
#include "mail/ComposizionePosta.h"
#include "mail/CorvexProcesso.h"
#include "mail/ElencoMail.h"
#include "mail/ProtocolloPosta.h"
#include "settings/Contesto.h"

#include <QCryptographicHash>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#ifndef ESEGUIBILE_POSTA
#error "ESEGUIBILE_POSTA must name the velmira-posta executable"
#endif

namespace {

const QString mittente = QStringLiteral("ufficio@velmira.example");
const QString utente = QStringLiteral("ufficio");
const QString password = QStringLiteral("Segreta-Tr3no!");

// A document that looks like a PDF, of the size asked, with bytes of every value.
QString creaPdf(const AmbienteProva& ambiente, const QString& nome, qsizetype dimensione)
{
    QList<quint32> casuali((dimensione + 3) / 4);
    QRandomGenerator{quint32(dimensione)}.fillRange(casuali.data(), casuali.size());
    QByteArray dati(reinterpret_cast<const char*>(casuali.constData()), dimensione);
    dati.replace(0, 9, "%PDF-1.4\n");
    return ambiente.scriviFile(QStringLiteral("pdf/") + nome, dati);
}

// A document as an attachment should arrive: "name type sha256".
QString allegato(const QString& percorso)
{
    return QFileInfo(percorso).fileName() + " application/pdf "
        + QString::fromLatin1(QCryptographicHash::hash(LeggiFile(percorso), QCryptographicHash::Sha256).toHex());
}

// The attachments of each message received, as a mail program reads them.
QStringList allegati(const QJsonArray& messaggi)
{
    QStringList elenco;
    for (const QJsonValue& m : messaggi) {
        QStringList parti;
        for (const QJsonValue& a : m["allegati"].toArray())
            parti.append(a["nome"].toString() + ' ' + a["tipo"].toString() + ' ' + a["sha256"].toString());
        elenco.append(parti.join(", "));
    }
    return elenco;
}

struct Dispaccio
{
    int risultati = 0;
    bool esito = false;
    QString messaggio;
    QList<QList<QVariant>> avanzamenti;
    QStringList elenco; // the lines of the single list file left in the program's folder
};

// The lines of the one list file in the program's folder, taken away as
// the program takes it.
QStringList prendiElenco(const QString& cartella)
{
    const QStringList nomi = QDir(cartella).entryList({QStringLiteral("*ElencoMail*")}, QDir::Files | QDir::Hidden);
    if (nomi.size() != 1)
        return {QStringLiteral("file di elenco: %1").arg(nomi.join(QLatin1Char(',')))};
    QStringList righe = QString::fromUtf8(LeggiFile(cartella + QLatin1Char('/') + nomi[0])).split(QStringLiteral("\r\n"));
    QFile::remove(cartella + QLatin1Char('/') + nomi[0]);
    if (righe.value(righe.size() - 1).isEmpty())
        righe.removeLast();
    return righe;
}

void configura(ValoriCorvex& c, const QString& server, int porta, const QString& chi = {}, const QString& parola = {})
{
    c.Mittente = mittente;
    c.TestoMail = QStringLiteral("Buongiorno,\r\nin allegato i documenti (totale 1.250,00 €).\r\n\r\nCordiali saluti");
    c.OggettoMail = QStringLiteral("Documenti di novembre: fatture, DDT e note di credito già emesse – Velmira");
    c.ServerSmtp = server;
    c.PortaSmtp = porta;
    c.Utente = chi;
    c.PasswordSmtp = parola;
}

// One dispatch through the program's own component, to its end; `avviato`
// sees the helper's process as soon as it runs.
Dispaccio invia(CorvexProcesso& corvex, const AmbienteProva& ambiente, const TabellaInvio& tabella,
                const std::function<void(QProcess&)>& avviato = {})
{
    Dispaccio d;
    QObject::connect(&corvex, &Corvex::Risultato, [&d](bool esito, const QString& messaggio) {
        ++d.risultati;
        d.esito = esito;
        d.messaggio = messaggio;
    });
    QSignalSpy avanzamento(&corvex, &Corvex::Avanzamento);
    corvex.InviaDocumenti(tabella);
    if (QProcess* processo = corvex.findChild<QProcess*>(); avviato && processo && processo->waitForStarted())
        avviato(*processo);
    (void)QTest::qWaitFor([&d] { return d.risultati > 0; }, 120000);
    QTest::qWait(50); // a second event would come now
    d.avanzamenti = avanzamento;
    d.elenco = prendiElenco(ambiente.cartella());
    return d;
}

QString riga(const QString& destinatario, const QString& esito, const QString& percorso)
{
    return QStringList{mittente, destinatario, esito, percorso}.join(QStringLiteral(" - "));
}

// The list lines without their time, once the time is checked to be now's
// form, and without the proof of sending (a Message-ID of ours, the reply).
QStringList senzaOra(const QStringList& elenco)
{
    static const QRegularExpression ora(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d - "));
    static const QRegularExpression prova(QStringLiteral(" <[0-9a-f-]{36}@[^<> ]+>( 2\\d\\d [^-]+)?(?= - )"));
    QStringList righe;
    for (const QString& r : elenco)
        righe.append(ora.match(r).hasMatch() ? r.mid(22).remove(prova) : QStringLiteral("ora mancante: ") + r);
    return righe;
}

} // namespace

class TestPosta : public QObject
{
    Q_OBJECT

    Contesto contesto_;

private slots:
    void init()
    {
        contesto_ = {};
    }

    void composizione()
    {
        QVERIFY(IndirizzoValido(" Mario.Rossi+fatture@studio-rossi.it "));
        for (const char* errato : {"", "mario", "mario@", "@esempio.it", "mario@esempio", "a b@esempio.it",
                                   "mario@@esempio.it", "mario@-esempio.it", "à@esempio.it", "a;b@esempio.it"})
            QVERIFY2(!IndirizzoValido(QString::fromUtf8(errato)), errato);

        const std::tuple<QString, int, QByteArray> server[] = {
            {"mail.esempio.it", 0, "smtp://mail.esempio.it"},       {"mail.esempio.it", 465, "smtps://mail.esempio.it:465"},
            {" mail.esempio.it ", 587, "smtp://mail.esempio.it:587"}, {"smtps://posta.pec.it", 2465, "smtps://posta.pec.it:2465"},
            {"SMTP://host", 465, "smtp://host:465"},                  {"::1", 25, "smtp://[::1]:25"}};
        for (const auto& [nome, porta, atteso] : server)
            QCOMPARE(IndirizzoServerSmtp(nome, porta), atteso);

        QCOMPARE(TestoIntestazione("riga\r\nBcc: x@y.it"), QByteArray("riga Bcc: x@y.it"));
        const QByteArray lungo = TestoIntestazione(QString(40, QChar(0x20AC)) + "fine");
        for (const QByteArray& parola : lungo.split('\n'))
            QVERIFY2(parola.trimmed().size() <= 75 && parola.trimmed().startsWith("=?UTF-8?B?"), parola);
        QCOMPARE(DisposizioneAllegato("Fattura \"1\".pdf"), QByteArray("attachment; filename=\"Fattura \\\"1\\\".pdf\""));
        QCOMPARE(TestoConRitorniCarrello("a\nb\r\nc\rd"), QString("a\r\nb\r\nc\r\nd"));

        // A request travels whole in every dispatch below; a broken one is refused.
        QVERIFY(!DecodificaRichiesta("{}") && !DecodificaRichiesta("non json")
                && !DecodificaRichiesta("{\"PortaSmtp\":0,\"percorsi\":[\"a\"],\"destinatari\":[]}"));
        // The end line travels in every dispatch below; a step's column only matters when the helper dies.
        const auto passo = LeggiRigaUscitaPosta(RigaAvanzamento(3, 7, 2, "a - b").trimmed());
        QVERIFY(passo && !passo->fine && passo->fatti == 3 && passo->totale == 7 && passo->colonna == 2
                && passo->elenco == "a - b" && !LeggiRigaUscitaPosta("rumore"));

        // A field never carries the separator or a line break; the path stays whole.
        QCOMPARE(RigaElencoMail({QDateTime(QDate(2026, 3, 1), QTime(9, 5, 7)), "a - b", "c\r\nd", "Inviato", "/x - y.pdf"}),
                 QString("01/03/2026 09:05:07 - a -- b - c d - Inviato - /x - y.pdf"));
    }

    // STARTTLS with login, the messages as received, and every fault a
    // document can have on its own, in one dispatch; then TLS from the first byte.
    void tlsConAccesso()
    {
        AmbienteProva ambiente;
        const auto conAccesso = [&](const QString& modo) {
            return ServerSmtpProva::Certificato(ambiente.percorso("tls"))
                + QStringList{"--modo", modo, "--utente", utente, "--password", password};
        };
        ServerSmtpProva server(ambiente.percorso("smtp"), conAccesso("starttls") + QStringList{"--rifiuta", "sconosciuto@esempio.it"});
        QVERIFY2(server.porta(), qPrintable(server.errore()));
        ScriviIni("Email", "CertificatoCA", ServerSmtpProva::FileCertificato(ambiente.percorso("tls")));

        const QString a = creaPdf(ambiente, "000101FAT000041120260605.pdf", 120000);
        const QString b = creaPdf(ambiente, "Fattura n° 12 – Più.pdf", 3000);
        const QString c = creaPdf(ambiente, "000101DDT000088120260603.pdf", 77777);
        const QString d = creaPdf(ambiente, "d.pdf", 10); // for the three recipients it never reaches
        const QString cartella = ambiente.percorso("pdf/cartella.pdf");
        QDir().mkpath(cartella);
        const QString manca = ambiente.percorso("pdf/manca.pdf");
        // Only files of the documents' folder go: a link to a secret and a
        // FIFO (that would hang a reader) do not.
        contesto_.strCartellaPDF = ambiente.percorso("pdf");
        const QString segreto = ambiente.scriviFile("pgpass", "*:*:*:postgres:segreto");
        const QString collegamento = ambiente.percorso("pdf/fattura.pdf");
        const QString fifo = ambiente.percorso("pdf/fifo.pdf");
        const QString interno = ambiente.percorso("pdf/copia.pdf");
        QVERIFY(QFile::link(segreto, collegamento) && QFile::link(c, interno) && ::mkfifo(qPrintable(fifo), 0600) == 0);
        const TabellaInvio tabella{{a, b, c, d, d, manca, cartella, d, collegamento, fifo, interno},
                                   {"Cliente.Uno@esempio.it", "cliente.due@esempio.it", " cliente.uno@esempio.it",
                                    "", "non-un-indirizzo", "cliente.due@esempio.it", "cliente.due@esempio.it",
                                    "sconosciuto@esempio.it", "cliente.due@esempio.it", "cliente.due@esempio.it",
                                    "cliente.due@esempio.it"}};

        CorvexProcesso corvex(contesto_, ESEGUIBILE_POSTA);
        configura(corvex, "127.0.0.1", server.porta(), utente, password);
        QByteArray rigaDiComando;
        const Dispaccio esito = invia(corvex, ambiente, tabella, [&rigaDiComando](QProcess& processo) {
            // Right after the start the kernel may not show the new program's line yet.
            (void)QTest::qWaitFor([&] {
                QFile file(QStringLiteral("/proc/%1/cmdline").arg(processo.processId()));
                return file.open(QIODevice::ReadOnly) && !(rigaDiComando = file.readAll()).isEmpty();
            }, 2000);
        });

        QVERIFY2(rigaDiComando.startsWith(ESEGUIBILE_POSTA) && !rigaDiComando.contains(password.toUtf8()),
                 rigaDiComando.constData());
        QCOMPARE(esito.risultati, 1);
        QCOMPARE(esito.esito, false);
        QCOMPARE(esito.messaggio, QString("Invio terminato: 4 documenti inviati, 7 non inviati.\n"
                                          "Primo documento non inviato: d.pdf (destinatario mancante)."));
        // One step per document, as soon as its outcome is known.
        QCOMPARE(esito.avanzamenti.size(), 11);
        QCOMPARE(esito.avanzamenti.last(), (QList<QVariant>{11, 11}));
        QCOMPARE(senzaOra(esito.elenco),
                 (QStringList{riga("Cliente.Uno@esempio.it", "Inviato", a), riga("cliente.due@esempio.it", "Inviato", b),
                              riga("cliente.uno@esempio.it", "Inviato", c), riga("", "Non inviato: destinatario mancante", d),
                              riga("non-un-indirizzo", "Non inviato: indirizzo del destinatario non valido", d),
                              riga("cliente.due@esempio.it", "Non inviato: documento non trovato", manca),
                              riga("cliente.due@esempio.it", "Non inviato: il documento non è un file (cartella, dispositivo o FIFO)", cartella),
                              riga("sconosciuto@esempio.it", "Non inviato: destinatario rifiutato dal server (550 5.1.1 Destinatario sconosciuto)", d),
                              riga("cliente.due@esempio.it", "Non inviato: il documento non è un file della cartella dei documenti", collegamento),
                              riga("cliente.due@esempio.it", "Non inviato: il documento non è un file (cartella, dispositivo o FIFO)", fifo),
                              riga("cliente.due@esempio.it", "Inviato", interno)}));

        // As a mail program reads them: one message per recipient, documents in list order.
        const QJsonArray messaggi = server.messaggi();
        const QString destinatari[] = {"Cliente.Uno@esempio.it", "cliente.due@esempio.it"};
        for (int i = 0; i < 2; ++i) {
            const QJsonObject m = messaggi[i].toObject();
            QCOMPARE(QStringList({m["from"].toString(), m["to"].toString(), m["subject"].toString(), m["tipo"].toString(),
                                  QString::number(m["difetti"].toInt()), m["corpo"].toString()}),
                     QStringList({mittente, destinatari[i], corvex.OggettoMail, "multipart/mixed", "0",
                                  QString(corvex.TestoMail).replace("\r\n", "\n")}));
            QVERIFY2(QDateTime::fromString(m["date"].toString(), Qt::RFC2822Date).isValid(), qPrintable(m["date"].toString()));
            QVERIFY2(m["messageId"].toString().endsWith("@velmira.example>"), qPrintable(m["messageId"].toString()));
        }
        QCOMPARE(allegati(messaggi), QStringList({allegato(a) + ", " + allegato(c), allegato(b) + ", " + allegato(interno)}));

        // TLS from the first byte, and a recipient's documents past 20 MiB in two messages.
        ServerSmtpProva tls(ambiente.percorso("smtps"), conAccesso("tls"));
        QVERIFY2(tls.porta(), qPrintable(tls.errore()));
        const QString grande1 = creaPdf(ambiente, "grande1.pdf", 7 * 1024 * 1024);
        const QString grande2 = creaPdf(ambiente, "grande2.pdf", 7 * 1024 * 1024);
        const QString grande3 = creaPdf(ambiente, "grande3.pdf", 7 * 1024 * 1024);
        const QString piccolo = creaPdf(ambiente, "piccolo.pdf", 1000);
        CorvexProcesso tlsImplicito(contesto_, ESEGUIBILE_POSTA);
        configura(tlsImplicito, "smtps://127.0.0.1", tls.porta(), utente, password);
        const QString cliente = QStringLiteral("cliente@esempio.it");
        const Dispaccio grandi = invia(tlsImplicito, ambiente, {{grande1, grande2, grande3, piccolo}, {cliente, cliente, cliente, cliente}});
        QCOMPARE(grandi.messaggio, QString("Invio terminato: 4 documenti inviati."));
        QVERIFY(grandi.esito);
        QCOMPARE(senzaOra(grandi.elenco), (QStringList{riga(cliente, "Inviato", grande1), riga(cliente, "Inviato", grande2),
                                                       riga(cliente, "Inviato", grande3), riga(cliente, "Inviato", piccolo)}));
        QCOMPARE(allegati(tls.messaggi()), QStringList({allegato(grande1) + ", " + allegato(grande2), allegato(grande3) + ", " + allegato(piccolo)}));
    }

    // Faults of the server or of the account: every document says why, in
    // the server's own words where it gave some; a connection lost on one
    // message does not stop the next. A server silent from the start is serverMuto's.
    void guastiDelServer()
    {
        AmbienteProva ambiente;
        ScriviIni("Email", "AttesaServer", "2");
        const QStringList certificato = ServerSmtpProva::Certificato(ambiente.percorso("tls"));
        const QString uno = creaPdf(ambiente, "uno.pdf", 5000);
        const QString due = creaPdf(ambiente, "due.pdf", 6000);

        struct Caso
        {
            const char* nome;
            QStringList opzioni; // empty: no server at all (port 1, where nothing listens)
            QString utente, password;
            bool certificatoNoto;
            QString primo, secondo; // outcomes of the two documents ("Non inviato: " left out; no second: as the first)
            int ricevuti;           // messages the server has in full
            QString conteggio;      // first line of the closing message
        };
        const QStringList starttls = certificato + QStringList{"--modo", "starttls", "--utente", utente, "--password", password};
        const QString nessuno = "Invio non riuscito: 2 documenti non inviati.";
        const Caso casi[] = {
            {"nessun server", {}, utente, password, true, "server non raggiungibile", {}, 0, nessuno},
            {"password errata", starttls, utente, "sbagliata", true, "accesso al server rifiutato (utente o password errati)", {}, 0, nessuno},
            {"senza TLS", {"--modo", "chiaro"}, utente, password, true, "il server non offre una connessione protetta (TLS)", {}, 0, nessuno},
            {"certificato sconosciuto", starttls, utente, password, false, "certificato del server non valido", {}, 0, nessuno},
            {"connessione persa", {"--modo", "chiaro", "--interrompi", "primo@esempio.it"}, {}, {}, true,
             "connessione interrotta", "Inviato", 1, "Invio terminato: 1 documento inviato, 1 non inviato."},
            {"rifiuto temporaneo", {"--al-punto", "451 4.3.0 Coda piena, riprovare"}, {}, {}, true,
             "rifiuto temporaneo del server, riprovare più tardi (451 4.3.0 Coda piena, riprovare)", {}, 2, nessuno},
            {"rifiuto definitivo", {"--al-punto", "554 5.7.1 Contenuto non ammesso"}, {}, {}, true,
             "messaggio rifiutato dal server (554 5.7.1 Contenuto non ammesso)", {}, 2, nessuno},
            {"punto senza risposta", {"--al-punto", "muto"}, {}, {}, true,
             "Esito non noto: il server non ha confermato la ricezione", "Non inviato: il server non risponde", 1,
             "Invio non riuscito: 1 documento non inviato, 1 con esito non noto (il server non ha confermato la ricezione)."},
        };
        for (const Caso& caso : casi) {
            std::unique_ptr<ServerSmtpProva> server;
            if (!caso.opzioni.isEmpty()) {
                server = std::make_unique<ServerSmtpProva>(ambiente.percorso(caso.nome), caso.opzioni);
                QVERIFY2(server->porta(), qPrintable(server->errore()));
            }
            ScriviIni("Email", "CertificatoCA", caso.certificatoNoto ? ServerSmtpProva::FileCertificato(ambiente.percorso("tls")) : "");
            CorvexProcesso corvex(contesto_, ESEGUIBILE_POSTA);
            configura(corvex, "127.0.0.1", server ? server->porta() : 1, caso.utente, caso.password);
            const Dispaccio esito = invia(corvex, ambiente, {{uno, due}, {"primo@esempio.it", "secondo@esempio.it"}});

            const auto esitoDi = [](const QString& e) { return e.contains(':') || e == "Inviato" ? e : "Non inviato: " + e; };
            const QString primo = esitoDi(caso.primo), secondo = caso.secondo.isEmpty() ? primo : caso.secondo;
            QCOMPARE(senzaOra(esito.elenco), (QStringList{riga("primo@esempio.it", primo, uno),
                                                          riga("secondo@esempio.it", secondo, due)}));
            QVERIFY2(esito.messaggio.startsWith(caso.conteggio + "\n"), qPrintable(esito.messaggio));
            QVERIFY(!esito.esito && esito.risultati == 1);
            QCOMPARE(server ? server->messaggi().size() : 0, caso.ricevuti);
        }
    }

    // A server that never says a word. A thousand documents: one connection,
    // one wait, every outcome known. The helper crashing meanwhile, with
    // cores allowed: no core file is left to read the password from.
    void serverMuto()
    {
        AmbienteProva ambiente;
        ScriviIni("Email", "AttesaServer", "2");
        ServerSmtpProva server(ambiente.percorso("smtp"), {"--muto"});
        QVERIFY2(server.porta(), qPrintable(server.errore()));
        TabellaInvio tabella;
        QStringList attese;
        for (int k = 0; k < 1000; ++k) {
            tabella.percorsi.append(creaPdf(ambiente, QStringLiteral("%1.pdf").arg(k), 10));
            tabella.destinatari.append(QStringLiteral("cliente%1@esempio.it").arg(k));
            attese.append(riga(tabella.destinatari[k], "Non inviato: il server non risponde", tabella.percorsi[k]));
        }
        CorvexProcesso corvex(contesto_, ESEGUIBILE_POSTA);
        configura(corvex, "127.0.0.1", server.porta(), utente, password);
        const Dispaccio esito = invia(corvex, ambiente, tabella);
        QCOMPARE(senzaOra(esito.elenco), attese);
        const auto connessioni = [&] {
            QFile file(ambiente.percorso("smtp/ricevuti/connessioni"));
            return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
        };
        QCOMPARE(connessioni(), 1);

        QFile schema("/proc/sys/kernel/core_pattern");
        if (!schema.open(QIODevice::ReadOnly) || !schema.readAll().startsWith("core"))
            QSKIP("i file core di questo sistema non vanno nella cartella del programma");
        RichiestaPosta r;
        configura(r, "127.0.0.1", server.porta(), utente, password);
        r.tabella = tabella;
        QProcess aiutante;
        aiutante.setWorkingDirectory(ambiente.cartella());
        aiutante.setChildProcessModifier([] {
            const rlimit illimitato{RLIM_INFINITY, RLIM_INFINITY};
            ::setrlimit(RLIMIT_CORE, &illimitato);
        });
        aiutante.start(ESEGUIBILE_POSTA, {});
        aiutante.write(CodificaRichiesta(r));
        aiutante.closeWriteChannel();
        // Once it talks to the server, the password has been read and handed on.
        QTRY_COMPARE_WITH_TIMEOUT(connessioni(), 2, 10000);
        // A signal whose default is a core file, and which the sanitizers
        // leave alone (they catch SIGSEGV and exit instead).
        ::kill(pid_t(aiutante.processId()), SIGQUIT);
        QVERIFY(aiutante.waitForFinished(10000) && aiutante.exitStatus() == QProcess::CrashExit);
        const QStringList core = QDir(ambiente.cartella()).entryList({"core*"}, QDir::Files);
        QVERIFY2(core.isEmpty(), qPrintable(core.join(' ')));
    }

    // The helper missing, killed, or left to finish by a component released
    // early. Every document keeps a line in the list whatever happened.
    void processoDelComponente()
    {
        AmbienteProva ambiente;
        const QString uno = creaPdf(ambiente, "uno.pdf", 5000);
        const TabellaInvio tabella{{uno}, {"cliente@esempio.it"}};
        ServerSmtpProva server(ambiente.percorso("smtp"), {"--modo", "chiaro"});
        QVERIFY2(server.porta(), qPrintable(server.errore()));
        // The helper, what is done to it once started; the message and the outcome written.
        const std::tuple<QString, std::function<void(QProcess&)>, QString, QString> casi[] = {
            {ambiente.percorso("velmira-posta"), {},
             "Impossibile avviare il programma di invio della posta " + ambiente.percorso("velmira-posta")
                 + ": file o cartella inesistente.",
             "Non inviato: programma di invio della posta non avviato"},
            {ESEGUIBILE_POSTA, [](QProcess& p) { ::kill(pid_t(p.processId()), SIGKILL); },
             "Il programma di invio della posta si è interrotto prima della fine.",
             "Esito non noto: programma di invio della posta interrotto"}};
        for (const auto& [programma, avviato, messaggio, scritto] : casi) {
            CorvexProcesso corvex(contesto_, programma);
            configura(corvex, "127.0.0.1", server.porta());
            const Dispaccio esito = invia(corvex, ambiente, tabella, avviato);
            QVERIFY(esito.risultati == 1 && !esito.esito);
            QCOMPARE(esito.messaggio, messaggio + "\nDocumenti con esito noto: 0; senza esito: 1.");
            QCOMPARE(senzaOra(esito.elenco), QStringList{riga("cliente@esempio.it", scritto, uno)});
        }
        QPointer<QProcess> orfano;
        {
            auto lasciato = std::make_unique<CorvexProcesso>(contesto_, ESEGUIBILE_POSTA);
            configura(*lasciato, "127.0.0.1", server.porta());
            lasciato->InviaDocumenti(tabella);
            orfano = lasciato->findChild<QProcess*>();
            lasciato.reset();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(ambiente.cartella()).entryList({"ElencoMail*"}).isEmpty(), 30000);
        QCOMPARE(senzaOra(prendiElenco(ambiente.cartella())), QStringList{riga("cliente@esempio.it", "Inviato", uno)});
        // The helper left behind goes away by itself once it has finished.
        QTRY_VERIFY_WITH_TIMEOUT(orfano.isNull(), 30000);
    }
};

QTEST_GUILESS_MAIN(TestPosta)
#include "tst_posta.moc"
