// Mail dispatch benchmark: N documents of SIZE bytes for R recipients, sent
// through the program's own mail component (the velmira-posta helper) to a
// real SMTP server on loopback with STARTTLS and login.
//
//   bench_posta [N] [SIZE] [R]      (defaults 1000 102400 100)
//
// Prints the time from InviaDocumenti to the helper's end and to the last
// record stored in EmailInviate (as the program does on Risultato), the
// helper's peak memory and what the server received.

#include "ServerSmtpProva.h"
#include "archive/Archivio.h"
#include "common/CartellaProgramma.h"
#include "mail/CorvexProcesso.h"
#include "mail/RegistraInvii.h"
#include "settings/Contesto.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Processor seconds a running process has used so far (user and system).
double secondiProcessore(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> campi = stat.readAll().split(')').value(1).split(' ');
    return (campi.value(12).toDouble() + campi.value(13).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

double secondi(const timeval& t)
{
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    const int documenti = a.value(1, "1000").toInt();
    const qsizetype dimensione = a.value(2, "102400").toLongLong();
    const int destinatari = a.value(3, "100").toInt();

    QTemporaryDir cartella;
    ImpostaCartellaProgramma(cartella.path());
    const QString tls = cartella.path() + "/tls";
    ServerSmtpProva server(cartella.path() + "/smtp", ServerSmtpProva::Certificato(tls)
                               + QStringList{"--modo", "starttls", "--utente", "banco", "--password", "prova-banco"});
    if (!server.porta()) {
        std::fprintf(stderr, "%s\n", qPrintable(server.errore()));
        return 1;
    }
    ScriviIni("Email", "CertificatoCA", ServerSmtpProva::FileCertificato(tls));
    Contesto contesto;
    contesto.strDatabase = cartella.path() + "/dati.mdb";
    if (const Errore errore = CreaArchivio(contesto.strDatabase); errore.presente()) {
        std::fprintf(stderr, "%s\n", qPrintable(errore.testo()));
        return 1;
    }

    TabellaInvio tabella;
    QDir().mkpath(cartella.path() + "/pdf");
    QList<quint32> casuali((dimensione + 3) / 4);
    for (int i = 0; i < documenti; ++i) {
        QRandomGenerator::global()->fillRange(casuali.data(), casuali.size());
        QByteArray dati(reinterpret_cast<const char*>(casuali.constData()), dimensione);
        dati.replace(0, 9, "%PDF-1.4\n");
        const QString percorso = QStringLiteral("%1/pdf/%2.pdf").arg(cartella.path()).arg(i, 6, 10, QLatin1Char('0'));
        QFile f(percorso);
        if (!f.open(QIODevice::WriteOnly) || f.write(dati) != dati.size())
            return 1;
        tabella.percorsi.append(percorso);
        tabella.destinatari.append(QStringLiteral("cliente%1@esempio.it").arg(i % destinatari));
    }

    CorvexProcesso corvex(contesto, ESEGUIBILE_POSTA);
    corvex.Mittente = "ufficio@velmira.example";
    corvex.OggettoMail = "Documenti";
    corvex.TestoMail = "In allegato i documenti.";
    corvex.ServerSmtp = "127.0.0.1";
    corvex.PortaSmtp = server.porta();
    corvex.Utente = "banco";
    corvex.PasswordSmtp = "prova-banco";
    QEventLoop attesa;
    bool esito = false;
    QString messaggio;
    QObject::connect(&corvex, &Corvex::Risultato, [&](bool e, const QString& m) {
        esito = e;
        messaggio = m;
        attesa.quit();
    });
    const double serverPrima = secondiProcessore(server.pid());
    QElapsedTimer tempo;
    tempo.start();
    corvex.InviaDocumenti(tabella);
    attesa.exec();
    const qint64 ms = tempo.elapsed();
    const double serverDopo = secondiProcessore(server.pid());
    const EsitoRegistrazione registrazione = RegistraInvii(contesto.strDatabase);
    const qint64 msRegistrate = tempo.elapsed();

    // The helper is the largest child reaped so far (openssl is the other).
    rusage uso{};
    getrusage(RUSAGE_CHILDREN, &uso);
    const int ricevuti = int(QDir(cartella.path() + "/smtp/ricevuti").entryList({"*.eml"}).size());
    std::printf("%d documenti da %lld byte per %d destinatari (STARTTLS e accesso)\n", documenti,
                static_cast<long long>(dimensione), destinatari);
    std::printf("esito: %s\n%s\n", esito ? "riuscito" : "NON riuscito", qPrintable(messaggio));
    std::printf("messaggi ricevuti dal server: %d\n", ricevuti);
    std::printf("tempo da InviaDocumenti alla fine del programma di invio: %.2f s\n", ms / 1000.0);
    std::printf("righe registrate in EmailInviate: %d; tempo da InviaDocumenti all'ultima: %.2f s\n",
                registrazione.registrate, msRegistrate / 1000.0);
    std::printf("memoria di picco del programma di invio: %.1f MiB\n", uso.ru_maxrss / 1024.0);
    // On a machine shared with other work the time depends on the load: the
    // processor time of the two sides says what the dispatch itself costs.
    std::printf("tempo di processore: programma di invio %.2f s, server SMTP %.2f s\n",
                secondi(uso.ru_utime) + secondi(uso.ru_stime), serverDopo - serverPrima);
    return esito && registrazione.registrate == documenti ? 0 : 1;
}
