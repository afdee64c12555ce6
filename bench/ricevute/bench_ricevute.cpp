// Receipts benchmark: N certified-mail receipts (half acceptances, half
// deliveries, each signed by a test CA) waiting in a private IMAP server
// (dovecot), read by `velmira ricevute` with the signatures checked, into
// an archive holding the N/2 messages they are about.
//
//   bench_ricevute [N]      (default 1000; goal: under 10 s)
//
// Prints the time of the first run, which reads them all, and of a second
// one, which finds nothing new.

#include "RicevutaProva.h"
#include "ServerImapProva.h"
#include "archive/Archivio.h"
#include "common/CartellaProgramma.h"
#include "mail/RegistraInvii.h"
#include "settings/Impostazioni.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double esegui(const QString& cartella, QString& uscita)
{
    QElapsedTimer tempo;
    tempo.start();
    QProcess p;
    p.start(QStringLiteral(ESEGUIBILE_VELMIRA), {QStringLiteral("ricevute"), QStringLiteral("--cartella-programma"), cartella});
    p.waitForFinished(-1);
    uscita = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError()).trimmed();
    return double(tempo.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication applicazione(argc, argv);
    const int n = argc > 1 ? QByteArray(argv[1]).toInt() : 1000;
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("BENCH_CONSERVA"));
    const QString cartella = dir.path();
    ImpostaCartellaProgramma(cartella);
    QDir().mkpath(cartella + QStringLiteral("/db"));
    if (const Errore e = CreaArchivio(cartella + QStringLiteral("/db/dati.mdb")); e.presente()) {
        std::fprintf(stderr, "%s\n", qPrintable(e.testo()));
        return 1;
    }
    ServerImapProva server(cartella + QStringLiteral("/imap"));
    const EnteProva ente(cartella + QStringLiteral("/ente"));
    if (!server.porta() || !ente.errore.isEmpty()) {
        std::fprintf(stderr, "%s%s\n", qPrintable(server.errore()), qPrintable(ente.errore));
        return 1;
    }
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase"), cartella + QStringLiteral("/db"));
    for (const auto& [chiave, valore] :
         {std::pair{"ServerImap", QStringLiteral("127.0.0.1")}, {"PortaImap", QString::number(server.porta())},
          {"UserID", QString::fromLatin1(ServerImapProva::utente)}, {"Password", QString::fromLatin1(ServerImapProva::password)},
          {"CertificatoCA", server.certificato()}, {"CertificatiPec", ente.FileCA()}})
        ScriviIni(QStringLiteral("Email"), QString::fromLatin1(chiave), valore);

    QByteArray righe;
    for (int i = 0; i < n / 2; ++i)
        righe += QStringLiteral("15/03/2014 10:30:00 - ufficio@esempio.it <m%1@esempio.it> 250 Ok - c%1@esempio.it - Inviato - "
                                "/srv/pdf/d%1.pdf\r\n").arg(i).toUtf8();
    QFile elenco(cartella + QStringLiteral("/ElencoMail_1.txt"));
    if (!elenco.open(QIODevice::WriteOnly) || elenco.write(righe) != righe.size())
        return 1;
    elenco.close();
    RegistraInvii(cartella + QStringLiteral("/db/dati.mdb"));
    std::printf("Preparazione di %d ricevute firmate...\n", n);
    std::fflush(stdout);
    for (int i = 0; i < n; ++i) {
        const QString id = QStringLiteral("<m%1@esempio.it>").arg(i / 2);
        const RicevutaProva r = i % 2 ? RicevutaProva{QStringLiteral("avvenuta-consegna"), id, QStringLiteral("c%1@esempio.it").arg(i / 2),
                                                      QStringLiteral("c%1").arg(i)}
                                      : RicevutaProva{QStringLiteral("accettazione"), id, {}, QStringLiteral("a%1").arg(i)};
        server.consegna(QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')), ente.Firmato(r));
    }
    QString uscita;
    const double prima = esegui(cartella, uscita);
    std::printf("Prima lettura: %.2f s (%s)\n", prima, qPrintable(uscita));
    const double seconda = esegui(cartella, uscita);
    std::printf("Seconda lettura: %.2f s (%s)\n", seconda, qPrintable(uscita));
    const bool riuscito = prima < 10 && uscita.startsWith(QStringLiteral("Ricevute lette: 0;"));
    std::printf("%s: %d ricevute in %.2f s (obiettivo: meno di 10 s)\n", riuscito ? "RIUSCITO" : "NON RIUSCITO", n, prima);
    return riuscito ? 0 : 1;
}
