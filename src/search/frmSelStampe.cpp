#include "search/frmSelStampe.h"

#include "archive/Archivio.h"
#include "archive/Recordset.h"
#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "components/Tabulario.h"
#include "log/cLogProgramma.h"
#include "search/CopiaDocumento.h"
#include "search/IstruzioniRicerca.h"
#include "search/PannelloRicerca.h"
#include "search/RicercaTabulario.h"
#include "shell/ApriStampaFile.h"
#include "shell/SelezionaCartella.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QString FormatoDataBreve()
{
    return QStringLiteral("dd/MM/yyyy");
}

// A document without a date is listed under today's date.
QString TestoData(const QVariant& data, const QDate& oggi)
{
    return data.isNull() ? oggi.toString(FormatoDataBreve())
                         : data.toDate().toString(FormatoDataBreve());
}

QString TestoCampo(const Recordset& righe, const QString& campo)
{
    return righe.Valore(campo).toString();
}

} // namespace

frmSelStampe::frmSelStampe(const Contesto& contesto, QWidget* parent)
    : QWidget(parent),
      pannello_(new PannelloRicerca(this, contesto, {QStringLiteral("Tipo  doc./casa rapp :"), QStringLiteral("C&hiudi"),
                                           0, true, false})),
      ricerca_(new RicercaTabulario(this))
{
    setObjectName(QStringLiteral("frmSelStampe"));
    setWindowTitle(TitoloSelezionaDocumenti);

    txtPercorso = new QLineEdit(this);
    txtPercorso->setObjectName(QStringLiteral("txtPercorso"));
    cmdPercorso = new QPushButton(style()->standardIcon(QStyle::SP_DirOpenIcon), QStringLiteral("&Sfoglia"), this);
    cmdPercorso->setObjectName(QStringLiteral("cmdPercorso"));
    auto* etichetta = new QLabel(QStringLiteral("Percorso destinazione documenti"), this);
    etichetta->setBuddy(txtPercorso);
    auto* rigaPercorso = new QHBoxLayout;
    rigaPercorso->addWidget(etichetta);
    rigaPercorso->addWidget(txtPercorso, 1);
    rigaPercorso->addWidget(cmdPercorso);
    pannello_->AreaAggiuntiva()->addLayout(rigaPercorso);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pannello_);

    connect(pannello_, &PannelloRicerca::Cerca, this, &frmSelStampe::cmdCerca_Click);
    connect(cmdPercorso, &QPushButton::clicked, this, &frmSelStampe::cmdPercorso_Click);
    connect(ricerca_, &RicercaTabulario::Valore, this, &frmSelStampe::Valore);
    connect(ricerca_, &RicercaTabulario::DocumentoScelto, this,
            [this](const QString& strStampa) { PrelevaDocSingolo(strStampa, txtPercorso->text()); });

    if (pannello_->Carica())
        txtPercorso->setText(LeggiIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaLocale")));
}

bool frmSelStampe::RichiamoExt() const
{
    return ricerca_->RichiamoExt;
}

void frmSelStampe::setRichiamoExt(bool valore)
{
    ricerca_->RichiamoExt = valore;
}

Tabulario* frmSelStampe::Trova() const
{
    return ricerca_->Trova();
}

void frmSelStampe::cmdCerca_Click()
{
    const ModoRicerca modo = pannello_->Modo();
    const QString istruzione = IstruzioneDocumenti(modo, pannello_->Criteri(), true);
    if (modo == ModoRicerca::Periodo || modo == ModoRicerca::CodiceEPeriodo) {
        PrelevaDoc(istruzione, txtPercorso->text());
        return;
    }
    // No point in choosing a document that has nowhere to go.
    if (!RichiamoExt() && !DestinazioneAccettata(txtPercorso->text()))
        return;
    ricerca_->Avvia(pannello_->contesto().strDatabase, istruzione);
}

void frmSelStampe::cmdPercorso_Click()
{
    const QString scelta =
        SelezionaCartella(this, QStringLiteral("Seleziona una cartella esistente dove salvare i documenti:"));
    if (!scelta.isEmpty())
        txtPercorso->setText(scelta);
    ScriviIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaLocale"), txtPercorso->text());
}

bool frmSelStampe::DestinazioneAccettata(const QString& strCartella)
{
    if (!strCartella.trimmed().isEmpty())
        return true;
    MostraMessaggio(QStringLiteral("Indicare in \"Percorso destinazione documenti\" la cartella dove "
                                   "copiare i documenti."),
                    Icona::Esclamazione);
    return false;
}

void frmSelStampe::PrelevaDoc(const QString& stRsql, const QString& strCartella)
{
    if (!DestinazioneAccettata(strCartella))
        return;
    // Any failure once the work has begun: the source path last formed
    // (none before the first row), the copies already made stay.
    QString strSorgente;
    const auto NonTrovato = [&strSorgente] {
        MostraMessaggio(strSorgente + QStringLiteral("Non trovato"), Icona::Informazione);
    };
    // Without its list a run would copy documents that no list shows: the
    // folder or the day's old list that cannot be dealt with stops it before
    // any copy, naming the culprit.
    const auto ElencoImpossibile = [](const QString& testo) {
        MostraMessaggio(testo + QStringLiteral(": nessun documento è stato copiato."), Icona::Esclamazione);
    };
    strCartellaElenchi = UnisciPercorso(CartellaProgramma(UsoCartella::Dati), QStringLiteral("elenchi"));
    if (!QFileInfo(strCartellaElenchi).isDir() && !QDir().mkpath(strCartellaElenchi)) {
        ElencoImpossibile(QStringLiteral("Impossibile creare la cartella degli elenchi ") + strCartellaElenchi);
        return;
    }

    Recordset righe;
    if (righe.ApriSql(StringaConnessione(pannello_->contesto().strDatabase), stRsql).presente()) {
        NonTrovato();
        return;
    }
    const QString strNomeElenco =
        QStringLiteral("ElencoStampe") + pannello_->contesto().adesso().toString(QStringLiteral("dd_MM_yyyy")) + QStringLiteral(".txt");
    const QString percorsoElenco = UnisciPercorso(strCartellaElenchi, strNomeElenco);
    // Every run starts the day's list afresh.
    if (QFileInfo::exists(percorsoElenco) && !QFile::remove(percorsoElenco)) {
        ElencoImpossibile(QStringLiteral("Impossibile eliminare l'elenco precedente ") + percorsoElenco);
        return;
    }
    if (righe.FineFile()) {
        MostraMessaggio(QStringLiteral("Non ci sono documenti presenti relativamente ai parametri di ricerca "
                                       "formulati."),
                        Icona::Esclamazione);
        return;
    }

    int contate = 0;
    int mancanti = 0;
    while (!righe.FineFile()) {
        ++contate;
        const QVariant stampa = righe.Valore(QStringLiteral("Stampa"));
        if (stampa.isNull()) {
            NonTrovato();
            return;
        }
        const QString strFile = stampa.toString();
        strSorgente = UnisciPercorso(pannello_->contesto().strCartellaPDF, strFile);
        if (!QFileInfo(strSorgente).isFile()) {
            ++mancanti;
        } else {
            const RisultatoCopia copia = CopiaDocumento(strSorgente, UnisciPercorso(strCartella, strFile));
            // A full disk is worth its own words: the user knows what to do.
            if (copia.esito == EsitoCopia::SpazioEsaurito) {
                MostraMessaggio(QStringLiteral("Spazio esaurito nella cartella ") + strCartella
                                    + QStringLiteral(": ") + strFile
                                    + QStringLiteral(" non è stato copiato. I documenti copiati prima restano "
                                                     "nella cartella e nell'elenco."),
                                Icona::Esclamazione);
                return;
            }
            if (copia.esito == EsitoCopia::Errore) {
                NonTrovato();
                return;
            }
            ScriviElenco(TestoData(righe.Valore(QStringLiteral("data")), pannello_->contesto().adesso().date()),
                         TestoCampo(righe, QStringLiteral("Num_Documento")), strFile,
                         TestoCampo(righe, QStringLiteral("Tipo")), TestoCampo(righe, QStringLiteral("Clien_Forn")),
                         strNomeElenco);
        }
        if (righe.MoveNext().presente()) {
            NonTrovato();
            return;
        }
    }
    righe.Chiudi();

    if (mancanti == contate) {
        MostraMessaggio(QStringLiteral("Documenti non copiati. Controllare il percorso della cartella dei "
                                       "documenti PDF sul server"),
                        Icona::Esclamazione, Pulsanti::Ok, TitoloSelezionaDocumenti);
        return;
    }
    const Risposta risposta = MostraMessaggio(
        QStringLiteral("Operazione conclusa, i documenti si trovano nella cartella ") + strCartella
            + QStringLiteral(". Visualizzare l'elenco stampe selezionate?"),
        Icona::Informazione, Pulsanti::SiNo);
    if (risposta == Risposta::Si)
        ApriStampaFile(percorsoElenco, QStringLiteral("open"));
}

void frmSelStampe::PrelevaDocSingolo(const QString& stRsql, const QString& strCartella)
{
    if (!DestinazioneAccettata(strCartella))
        return;
    const RisultatoCopia copia =
        CopiaDocumento(UnisciPercorso(pannello_->contesto().strCartellaPDF, stRsql), UnisciPercorso(strCartella, stRsql));
    if (copia.esito == EsitoCopia::Copiato)
        MostraMessaggio(QStringLiteral("Operazione conclusa, Documento ") + stRsql
                            + QStringLiteral(" copiato nella cartella ") + strCartella,
                        Icona::Informazione);
    else
        MostraMessaggio(QStringLiteral("Impossibile copiare ") + stRsql + QStringLiteral(" nella cartella ")
                            + strCartella + QStringLiteral("."),
                        Icona::Esclamazione);
}

void frmSelStampe::ScriviElenco(const QString& strData, const QString& strNumero, const QString& strFile,
                                const QString& strTipo, const QString& strCodice, const QString& strNomeFile)
{
    cLogProgramma riga;
    riga.Data = strData;
    riga.Ora = strFile;
    riga.Procedura = strCodice;
    riga.TipoOperazione = strTipo;
    riga.Descrizione = strNumero;
    const QString percorso = UnisciPercorso(strCartellaElenchi, strNomeFile);
    riga.ScriviInFile(percorso, QFileInfo::exists(percorso));
}
