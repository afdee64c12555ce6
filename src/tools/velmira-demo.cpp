// Prepares a demo workspace for a first look at the program:
//
//   velmira-demo CARTELLA
//
// CARTELLA/server/pdf        invoices and delivery notes of a few clients
//                            over several months, real readable PDFs named
//                            by the document convention (widths 6, 3, 7)
// CARTELLA/server/marvena    spooling.ini with those widths, the archive with
//                            those documents, each with its client's e-mail
// CARTELLA/Velmira.ini       pointing at the two folders, with the sender's
//                            address and the text of the demo's mails
//
// Whatever an earlier demo left in CARTELLA/server is made afresh.
//
//   velmira-demo --email CARTELLA CHIAVE=VALORE...
//
// only sets those values of the [Email] section of CARTELLA/Velmira.ini:
// scripts/run points the demo's mail account at the servers it has just
// started, on ports that change from one run to the next.

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "common/CartellaProgramma.h"
#include "import/NomeDocumento.h"
#include "import/cImporta.h"
#include "settings/FileIni.h"

#include <QDate>
#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cstdio>

namespace {

struct Cliente
{
    const char* codice; // as it stands in the file name
    const char* nome;
    const char* citta;
    const char* email;
};

const Cliente clienti[] = {
    {"000101", "Ferramenta Bellotti S.r.l.", "Bergamo", "amministrazione@bellotti.example"},
    {"000245", "Idraulica Sala & Figli", "Lecco", "ufficio@idraulicasala.example"},
    {"C00310", "Cooperativa Agricola Valsassina", "Barzio", "contabilita@coopvalsassina.example"},
    {"000512", "Studio Tecnico Arch. Riva", "Como", "studio@architettoriva.example"},
};

struct Articolo
{
    const char* descrizione;
    double prezzo;
};

const Articolo articoli[] = {
    {"Viti autofilettanti 4x30 (conf. 500)", 18.40}, {"Tassello nylon 8 mm (conf. 100)", 9.90},
    {"Raccordo ottone 1/2\"", 3.75},                 {"Tubo multistrato 16 mm (rotolo 50 m)", 96.00},
    {"Guanti da lavoro taglia 9", 4.20},             {"Silicone sigillante trasparente", 6.80},
};

QString euro(double valore)
{
    return QLocale(QLocale::Italian).toString(valore, 'f', 2) + QStringLiteral(" €");
}

void scriviDocumento(const QString& percorso, const Cliente& cliente, bool fattura, int numero,
                     const QDate& data, int seme)
{
    QPdfWriter pdf(percorso);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(72);
    pdf.setTitle(QStringLiteral("%1 n. %2").arg(fattura ? "Fattura" : "Documento di trasporto").arg(numero));
    pdf.setCreator(QStringLiteral("Marvena (documento di prova)"));
    QPainter p(&pdf);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 16, QFont::Bold));
    p.drawText(40, 60, QStringLiteral("Velmira Forniture S.p.A."));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    p.drawText(40, 78, QStringLiteral("Via dell'Artigianato 12 - 24100 Bergamo - P.IVA 01234567890"));

    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 14, QFont::Bold));
    p.drawText(40, 140, QStringLiteral("%1 n. %2 del %3")
                            .arg(fattura ? "FATTURA" : "DOCUMENTO DI TRASPORTO")
                            .arg(numero)
                            .arg(data.toString(QStringLiteral("dd/MM/yyyy"))));
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    p.drawText(330, 190, QStringLiteral("Spett.le"));
    p.drawText(330, 206, QString::fromUtf8(cliente.nome));
    p.drawText(330, 222, QString::fromUtf8(cliente.citta));
    p.drawText(330, 238, QStringLiteral("Codice cliente: %1").arg(NormalizzaCampo(QString::fromLatin1(cliente.codice))));

    int y = 290;
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10, QFont::Bold));
    p.drawText(40, y, QStringLiteral("Descrizione"));
    p.drawText(330, y, QStringLiteral("Q.tà"));
    if (fattura) {
        p.drawText(390, y, QStringLiteral("Prezzo"));
        p.drawText(470, y, QStringLiteral("Importo"));
    }
    p.drawLine(40, y + 6, 555, y + 6);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    double totale = 0;
    for (int r = 0; r < 3; ++r) {
        const Articolo& a = articoli[(seme + r * 2) % 6];
        const int quantita = 1 + (seme * 7 + r * 3) % 12;
        y += 22;
        p.drawText(40, y, QString::fromUtf8(a.descrizione));
        p.drawText(330, y, QString::number(quantita));
        if (fattura) {
            p.drawText(390, y, euro(a.prezzo));
            p.drawText(470, y, euro(a.prezzo * quantita));
            totale += a.prezzo * quantita;
        }
    }
    p.drawLine(40, y + 10, 555, y + 10);
    p.setFont(QFont(QStringLiteral("DejaVu Sans"), 11, QFont::Bold));
    if (fattura) {
        p.drawText(330, y + 34, QStringLiteral("Imponibile: %1").arg(euro(totale)));
        p.drawText(330, y + 52, QStringLiteral("IVA 22%: %1").arg(euro(totale * 0.22)));
        p.drawText(330, y + 70, QStringLiteral("Totale: %1").arg(euro(totale * 1.22)));
    } else {
        p.drawText(40, y + 34, QStringLiteral("Causale: vendita - Porto franco - Vettore: mittente"));
    }
}

bool fallito(const char* cosa, const QString& dettaglio)
{
    std::fprintf(stderr, "velmira-demo: %s %s\n", cosa, qUtf8Printable(dettaglio));
    return true;
}

bool scriviImpostazioni(const QString& fileIni, const QString& sezione,
                        const std::initializer_list<std::pair<const char*, QString>>& valori)
{
    for (const auto& [chiave, valore] : valori)
        if (!ScriviValoreIni(fileIni, sezione, QString::fromLatin1(chiave), valore))
            return false;
    return true;
}

// The documents archived as the import window would, then each row given its
// client's address, as the office would have typed it.
QString archiviaConIndirizzi(const QString& pdf, const QString& database, const QString& spooling)
{
    cImporta importazione;
    importazione.CartellaPDF(pdf);
    importazione.Database(database);
    importazione.FileIni(spooling);
    importazione.Avvia();
    if (importazione.Esito() != EsitoImportazione::Eseguita)
        return QStringLiteral("importazione dei documenti di prova non riuscita");
    Connessione connessione;
    Errore errore = connessione.Apri(StringaConnessione(database));
    for (const Cliente& c : clienti)
        if (!errore.presente())
            errore = connessione.Esegui(QStringLiteral("update Posta set email='%1' where Codice='%2'")
                                            .arg(QString::fromLatin1(c.email),
                                                 NormalizzaCampo(QString::fromLatin1(c.codice))));
    return errore.presente() ? errore.testo() : QString();
}

} // namespace

int main(int argc, char* argv[])
{
    // Nothing is shown: the documents are drawn without any screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    const bool soloPosta = argomenti.size() >= 3 && argomenti[1] == QLatin1String("--email");
    const QStringList valoriPosta = soloPosta ? argomenti.mid(3) : QStringList();
    if ((argomenti.size() != 2 && !soloPosta)
        || std::any_of(valoriPosta.cbegin(), valoriPosta.cend(),
                       [](const QString& v) { return v.indexOf(u'=') < 1; })) {
        std::fprintf(stderr, "Uso: velmira-demo CARTELLA\n       velmira-demo --email CARTELLA CHIAVE=VALORE...\n");
        return 2;
    }
    const QString cartella = QDir(soloPosta ? argomenti[2] : argomenti[1]).absolutePath();
    const QString velmiraIni = cartella + QStringLiteral("/Velmira.ini");
    const QString email = QStringLiteral("Email");
    for (const QString& valore : valoriPosta) {
        const qsizetype uguale = valore.indexOf(u'=');
        if (!ScriviValoreIni(velmiraIni, email, valore.left(uguale), valore.mid(uguale + 1)))
            return fallito("impossibile scrivere", velmiraIni), 1;
    }
    if (soloPosta)
        return 0;

    const QString server = cartella + QStringLiteral("/server");
    const QString pdf = server + QStringLiteral("/pdf");
    const QString marvena = server + QStringLiteral("/marvena");
    QDir(server).removeRecursively();
    if (!QDir().mkpath(pdf) || !QDir().mkpath(marvena))
        return fallito("impossibile creare le cartelle in", cartella), 1;

    // Invoices and delivery notes from June to November 2026.
    int numeroFattura = 410;
    int numeroBolla = 880;
    int seme = 0;
    for (int mese = 0; mese < 6; ++mese) {
        for (const Cliente& cliente : clienti) {
            const QDate data = QDate(2026, 6, 3).addMonths(mese).addDays((seme * 5) % 20);
            for (const bool fattura : {false, true}) {
                const int numero = fattura ? ++numeroFattura : ++numeroBolla;
                const QString nome = QString::fromLatin1(cliente.codice)
                    + (fattura ? QStringLiteral("FAT") : QStringLiteral("DDT"))
                    + QStringLiteral("%1").arg(numero, 7, 10, QLatin1Char('0'))
                    + data.addDays(fattura ? 2 : 0).toString(QStringLiteral("yyyyMMdd"))
                    + QStringLiteral(".pdf");
                scriviDocumento(pdf + QLatin1Char('/') + nome, cliente, fattura, numero,
                                data.addDays(fattura ? 2 : 0), ++seme);
            }
        }
    }

    const QString spooling = marvena + QStringLiteral("/spooling.ini");
    const QString sezione = QStringLiteral("AS/400");
    if (!ScriviValoreIni(spooling, sezione, QStringLiteral("LunCodCli"), QStringLiteral("6"))
        || !ScriviValoreIni(spooling, sezione, QStringLiteral("LunTipDoc"), QStringLiteral("3"))
        || !ScriviValoreIni(spooling, sezione, QStringLiteral("LunNumDoc"), QStringLiteral("7")))
        return fallito("impossibile scrivere", spooling), 1;
    const QString database = marvena + QStringLiteral("/dati.mdb");
    if (const Errore errore = CreaArchivio(database); errore.presente())
        return fallito("", errore.testo()), 1;
    // The import's own list goes into the demo, not beside this tool.
    ImpostaCartellaProgramma(cartella);
    if (const QString errore = archiviaConIndirizzi(pdf, database, spooling); !errore.isEmpty())
        return fallito("", errore), 1;

    if (!scriviImpostazioni(velmiraIni, QStringLiteral("Percorsi"), {{"CartellaPDF", pdf}, {"DataBase", marvena}})
        || !scriviImpostazioni(velmiraIni, email,
                               {{"Indirizzo", QStringLiteral("ufficio@velmira-forniture.example")},
                                {"SMTP", QStringLiteral("127.0.0.1")},
                                {"Oggetto", QStringLiteral("Documenti Velmira Forniture")},
                                {"Messaggio", QStringLiteral("Buongiorno,+in allegato i documenti richiesti.++"
                                                             "Cordiali saluti+Velmira Forniture S.p.A.")}}))
        return fallito("impossibile scrivere", velmiraIni), 1;

    std::printf("Area di prova pronta in %s: %d documenti PDF in %s, già archiviati con l'indirizzo email "
                "del cliente\n",
                qUtf8Printable(cartella), seme, qUtf8Printable(pdf));
    return 0;
}
