#include "ArchivioProva.h"
#include "CorvexFinto.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/Recordset.h"
#include "mail/RegistraInvii.h"
#include "mail/Spedizione.h"
#include "settings/Impostazioni.h"

#include <QFile>

// The list of messages sent into EmailInviate, and the port the mail
// component is given.
class TestRegistraInvii : public QObject
{
    Q_OBJECT

    std::unique_ptr<ArchivioProva> archivio_;

    QStringList Registrate() const
    {
        return RigheArchivio(archivio_->database,
                             "select Stampa, dtinvio, EmailDest, Esito from EmailInviate order by dtinvio");
    }

    static QString Contenuto(const QString& percorso)
    {
        QFile file(percorso);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("<assente>");
    }

private slots:
    void init()
    {
        archivio_ = std::make_unique<ArchivioProva>();
        Modulo::strDatabase = archivio_->database;
    }

    void cleanup()
    {
        archivio_.reset();
    }

    void portaSmtp()
    {
        const QList<std::pair<QString, std::optional<int>>> casi{
            {"", 0},         {"  ", 0},          {"0", 0},           {" 465 ", 465},       {"587.0", 587},
            {"587,5", 588},  {"2.5e2", 250},     {"-25", -25},       {"-32768", -32768},   {"65535", 65535},
            {"65536", std::nullopt}, {"-32769", std::nullopt}, {"25a", std::nullopt}, {"2 5", std::nullopt}};
        for (const auto& [testo, attesa] : casi)
            QVERIFY2(PortaSmtp(testo) == attesa, qPrintable(testo));
    }

    // Good, short, refused and blank lines in one list; what is not stored
    // stays in the file and is neither lost nor stored twice by the next run.
    void righeBuoneCorteERifiutate()
    {
        const QString elenco = archivio_->scriviFile(
            "Velmira_ElencoMail_1.txt",
            "15/03/2014 10:31:00 - ufficio@esempio.it - rossi@esempio.it - inviato - /srv/pdf/fat9.pdf\n"
            "15/03/2014 10:31:05 - ufficio@esempio.it - bianchi@esempio.it - inviato\n"
            "\r\n"
            "ieri - ufficio@esempio.it - verdi@esempio.it - inviato - /srv/pdf/bol7.pdf\n"
            "15/03/2014 10:31:09 - ufficio@esempio.it - neri@esempio.it - rifiutato - C:\\pdf\\Rossi - Bianchi.pdf\r\n");
        archivio_->scriviFile("ElencoMail.bak/dentro.txt"); // a folder is not a list
        archivio_->scriviFile("elencomail_minuscolo.txt", "x - x - x - x - /a.pdf\n");

        EsitoRegistrazione esito = RegistraInvii();
        QCOMPARE(QList<int>({esito.registrate, esito.incomplete, esito.rifiutate, int(esito.conservato)}),
                 QList<int>({2, 1, 1, 1}));
        QCOMPARE(esito.file, archivio_->percorso("Velmira_ElencoMail_1.txt"));
        QVERIFY2(esito.errore.startsWith("13 "), qPrintable(esito.errore));
        QCOMPARE(Registrate(), QStringList({"fat9.pdf|2014-03-15T10:31:00|rossi@esempio.it|inviato",
                                            "Rossi - Bianchi.pdf|2014-03-15T10:31:09|neri@esempio.it|rifiutato"}));
        const QString rimaste =
            "15/03/2014 10:31:05 - ufficio@esempio.it - bianchi@esempio.it - inviato\n"
            "ieri - ufficio@esempio.it - verdi@esempio.it - inviato - /srv/pdf/bol7.pdf\n";
        QCOMPARE(Contenuto(elenco), rimaste);
        const QString nota = NotaRegistrazione(esito);
        for (const QString& parte : {QStringLiteral("Righe incomplete nell'elenco degli invii, non registrate: 1."),
                                     QStringLiteral("Righe non accettate dall'archivio: 1."),
                                     QStringLiteral("L'elenco degli invii ") + elenco
                                         + QStringLiteral(" è stato conservato")})
            QVERIFY2(nota.contains(parte), qPrintable(nota));

        esito = RegistraInvii();
        QCOMPARE(QList<int>({esito.registrate, esito.incomplete, esito.rifiutate}), QList<int>({0, 1, 1}));
        QCOMPARE(Registrate().size(), 2);
        QCOMPARE(Contenuto(elenco), rimaste);

        // Mended by hand, the list goes once every line is stored.
        archivio_->scriviFile("Velmira_ElencoMail_1.txt",
                              "16/03/2014 09:00:00 - u - verdi@esempio.it - inviato - bol7.pdf\n");
        esito = RegistraInvii();
        QVERIFY(!esito.conservato && NotaRegistrazione(esito).isEmpty() && !QFile::exists(elenco));
        QCOMPARE(Registrate().size(), 3);
        QCOMPARE(RegistraInvii().file, QString());
    }

    // Another workstation holds the archive's write lock: nothing is stored
    // and the whole list stays.
    void archivioBloccato()
    {
        const QByteArray righe = "15/03/2014 10:31:00 - u - rossi@esempio.it - inviato - /srv/pdf/fat9.pdf\n";
        const QString elenco = archivio_->scriviFile("ElencoMail.txt", righe);
        Connessione altra;
        QVERIFY(!altra.Apri(StringaConnessione(archivio_->database)).presente());
        QVERIFY(!altra.IniziaTransazione().presente());
        const EsitoRegistrazione esito = RegistraInvii();
        altra.Annulla();
        QCOMPARE(QList<int>({esito.registrate, int(esito.conservato)}), QList<int>({0, 1}));
        QVERIFY2(NotaRegistrazione(esito).contains("Archivio bloccato"), qPrintable(NotaRegistrazione(esito)));
        QCOMPARE(Contenuto(elenco), QString::fromUtf8(righe));
        QVERIFY(Registrate().isEmpty());
    }
};

QTEST_MAIN(TestRegistraInvii)
#include "tst_registrainvii.moc"
