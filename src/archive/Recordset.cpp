#include "archive/Recordset.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/MotoreArchivio.h"
#include "common/Testo.h"

#include <QDateTime>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>

TipoCampo TipoDaValore(QMetaType tipo)
{
    switch (tipo.id()) {
    case QMetaType::QDate:
        return TipoCampo::Data;
    case QMetaType::QDateTime:
        return TipoCampo::DataOra;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Bool:
        return TipoCampo::Intero;
    case QMetaType::Double:
    case QMetaType::Float:
        return TipoCampo::Decimale;
    case QMetaType::QByteArray:
        return TipoCampo::Binario;
    default:
        return TipoCampo::Testo;
    }
}

namespace {

Errore nessunRecordCorrente()
{
    return {CodiceErrore::NessunRecordCorrente, QStringLiteral("Nessun record corrente.")};
}

Errore nonAperto()
{
    return {CodiceErrore::OggettoChiuso, QStringLiteral("Operazione non consentita: il recordset è chiuso.")};
}

// A name as the Jet dialect quotes it; each engine says it its own way.
QString nomeTraParentesi(const QString& nome)
{
    return QLatin1Char('[') + nome + QLatin1Char(']');
}

std::optional<QDateTime> dataOraDaTesto(const QString& testo)
{
    for (const QString& formato : {QStringLiteral("dd/MM/yyyy HH:mm:ss"), QStringLiteral("dd/MM/yyyy HH:mm"),
                                   QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-ddTHH:mm:ss")}) {
        const QDateTime valore = QDateTime::fromString(testo.trimmed(), formato);
        if (valore.isValid())
            return valore;
    }
    if (const auto data = InterpretaData(testo))
        return QDateTime(*data, QTime(0, 0));
    return std::nullopt;
}

// A date field takes a date, or a text read as day/month/year; an empty
// text leaves it empty.
std::optional<QVariant> valorePerCampo(const DescrizioneCampo& campo, const QVariant& valore)
{
    if (valore.isNull())
        return QVariant();
    const bool data = campo.tipo == TipoCampo::Data || campo.tipo == TipoCampo::DataOra;
    if (!data || valore.typeId() != QMetaType::QString)
        return ValorePerArchivio(valore);
    const QString testo = valore.toString();
    if (testo.trimmed().isEmpty())
        return QVariant();
    if (campo.tipo == TipoCampo::Data) {
        const auto letta = InterpretaData(testo);
        return letta ? std::optional(ValorePerArchivio(*letta)) : std::nullopt;
    }
    const auto letta = dataOraDaTesto(testo);
    return letta ? std::optional(ValorePerArchivio(*letta)) : std::nullopt;
}

} // namespace

struct Recordset::Dati
{
    std::unique_ptr<Connessione> propria;
    Connessione* connessione = nullptr;
    std::optional<QSqlQuery> query;
    QList<DescrizioneCampo> campi;
    QString tabella; // empty for a statement
    int campoChiave = -1; // tables: the column of the row's key, hidden from the fields
    QString istruzione; // as run, to read the rows again from the first
    int riga = 0;       // rows moved past since the first
    bool fine = true;
    enum class Modifica { Nessuna, Nuova, Esistente } modifica = Modifica::Nessuna;
    QHash<int, QVariant> pendenti;

    Errore apri(Connessione& c, const QString& istruzione, const QString& nomeTabella);
    Errore esegui(const QString& istruzione, const QVariantList& valori);
    int colonna(int indice) const { return campoChiave >= 0 && indice >= campoChiave ? indice + 1 : indice; }
    Errore senzaChiave() const
    {
        return {CodiceErrore::OperazioneNonSupportata, QStringLiteral("La tabella %1 non ha la colonna %2 che distingue le righe: la riga non "
                                     "può essere modificata.").arg(tabella, ColonnaChiave)};
    }
};

Errore Recordset::Dati::apri(Connessione& c, const QString& istruzione,
                                     const QString& nomeTabella)
{
    connessione = &c;
    tabella = nomeTabella;
    campoChiave = -1;
    this->istruzione = istruzione;
    riga = 0;
    pendenti.clear();
    modifica = Modifica::Nessuna;
    query.emplace(c.Database());
    // A table is walked while its rows are deleted or changed through the
    // same connection: its rows must all be at hand, on every engine.
    query->setForwardOnly(tabella.isEmpty());
    if (!query->exec(c.Motore().Traduci(istruzione))) {
        const Errore errore = c.ErroreDa(query->lastError());
        query.reset();
        return errore;
    }
    campi = c.Motore().Campi(*query);
    for (qsizetype i = 0; !tabella.isEmpty() && i < campi.size(); ++i) {
        if (campi.at(i).nome.compare(ColonnaChiave, Qt::CaseInsensitive) == 0) {
            campoChiave = int(i);
            campi.remove(i);
            break;
        }
    }
    fine = !query->next();
    if (fine && query->lastError().isValid()) {
        const Errore errore = c.ErroreDa(query->lastError());
        query.reset();
        return errore;
    }
    return {};
}

Errore Recordset::Dati::esegui(const QString& istruzione, const QVariantList& valori)
{
    QSqlQuery comando(connessione->Database());
    comando.prepare(connessione->Motore().Traduci(istruzione));
    for (int i = 0; i < valori.size(); ++i)
        comando.bindValue(i, valori.at(i));
    if (!connessione->Protetto([&comando] { return comando.exec(); }))
        return connessione->ErroreDa(comando.lastError());
    return {};
}

Recordset::Recordset() : d_(std::make_unique<Dati>()) {}

Recordset::~Recordset()
{
    Chiudi();
}

Errore Recordset::ApriSql(const QString& stringaConnessione, const QString& istruzione)
{
    const Errore errore = ApriConnessionePropria(stringaConnessione);
    return errore.presente() ? errore : ApriSql(*d_->propria, istruzione);
}

Errore Recordset::ApriTabella(const QString& stringaConnessione, const QString& tabella)
{
    const Errore errore = ApriConnessionePropria(stringaConnessione);
    return errore.presente() ? errore : ApriTabella(*d_->propria, tabella);
}

Errore Recordset::ApriConnessionePropria(const QString& stringaConnessione)
{
    Chiudi();
    d_->propria = std::make_unique<Connessione>();
    const Errore errore = d_->propria->Apri(stringaConnessione);
    if (errore.presente())
        d_->propria.reset();
    return errore;
}

Errore Recordset::ApriSql(Connessione& connessione, const QString& istruzione)
{
    return d_->apri(connessione, istruzione, QString());
}

Errore Recordset::ApriTabella(Connessione& connessione, const QString& tabella)
{
    return d_->apri(connessione, QStringLiteral("SELECT * FROM %1").arg(nomeTraParentesi(tabella)), tabella);
}

bool Recordset::Aperto() const
{
    return d_->query.has_value();
}

void Recordset::Chiudi()
{
    d_->query.reset();
    d_->campi.clear();
    d_->pendenti.clear();
    d_->modifica = Dati::Modifica::Nessuna;
    d_->fine = true;
    d_->connessione = nullptr;
    d_->propria.reset();
}

bool Recordset::FineFile() const
{
    return d_->fine;
}

Errore Recordset::MoveNext()
{
    if (!Aperto())
        return nonAperto();
    if (d_->fine)
        return nessunRecordCorrente();
    d_->pendenti.clear();
    d_->modifica = Dati::Modifica::Nessuna;
    d_->fine = !d_->query->next();
    ++d_->riga;
    if (d_->fine && d_->query->lastError().isValid())
        return d_->connessione->ErroreDa(d_->query->lastError());
    return {};
}

Errore Recordset::MoveFirst()
{
    if (!Aperto())
        return nonAperto();
    if (d_->riga == 0)
        return {};
    // Rows are read forward only, so the statement runs again: a list shown
    // once more from the top sees the archive as it is now.
    return d_->apri(*d_->connessione, d_->istruzione, d_->tabella);
}

int Recordset::NumeroCampi() const
{
    return int(d_->campi.size());
}

QString Recordset::NomeCampo(int indice) const
{
    return d_->campi.value(indice).nome;
}

TipoCampo Recordset::TipoDelCampo(int indice) const
{
    return indice >= 0 && indice < d_->campi.size() ? d_->campi.at(indice).tipo : TipoCampo::Testo;
}

int Recordset::DimensioneCampo(int indice) const
{
    return d_->campi.value(indice).dimensione;
}

int Recordset::IndiceCampo(const QString& nome) const
{
    for (int i = 0; i < d_->campi.size(); ++i)
        if (d_->campi.at(i).nome.compare(nome, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Recordset::Valore(int indice) const
{
    if (!Aperto() || d_->fine || indice < 0 || indice >= d_->campi.size())
        return {};
    const QVariant grezzo = d_->query->value(d_->colonna(indice));
    if (grezzo.isNull())
        return {};
    // Engines with dates of their own hand them over as such.
    if (grezzo.typeId() == QMetaType::QDate || grezzo.typeId() == QMetaType::QDateTime)
        return grezzo;
    switch (d_->campi.at(indice).tipo) {
    case TipoCampo::Data:
        if (const QDate data = QDate::fromString(grezzo.toString().left(10), Qt::ISODate); data.isValid())
            return data;
        break;
    case TipoCampo::DataOra:
        if (const auto dataOra = dataOraDaTesto(grezzo.toString()))
            return *dataOra;
        break;
    default:
        break;
    }
    return grezzo;
}

QVariant Recordset::Valore(const QString& nome) const
{
    return Valore(IndiceCampo(nome));
}

void Recordset::AddNew()
{
    d_->pendenti.clear();
    d_->modifica = Dati::Modifica::Nuova;
}

Errore Recordset::ImpostaValore(const QString& nome, const QVariant& valore)
{
    if (!Aperto() || d_->tabella.isEmpty())
        return {CodiceErrore::OperazioneNonSupportata, QStringLiteral("Operazione non supportata: il recordset è di sola lettura.")};
    const int indice = IndiceCampo(nome);
    if (indice < 0)
        return {CodiceErrore::ElementoNonTrovato, QStringLiteral("Elemento non trovato nell'insieme corrispondente al nome "
                                     "richiesto: %1.").arg(nome)};
    if (d_->modifica == Dati::Modifica::Nessuna) {
        if (d_->fine)
            return nessunRecordCorrente();
        d_->modifica = Dati::Modifica::Esistente;
    }
    const auto convertito = valorePerCampo(d_->campi.at(indice), valore);
    if (!convertito)
        return {CodiceErrore::TipoNonCorrispondente, QStringLiteral("Tipo non corrispondente: «%1» non è una data valida per il campo %2.")
                        .arg(valore.toString(), d_->campi.at(indice).nome)};
    d_->pendenti.insert(indice, *convertito);
    return {};
}

Errore Recordset::Update()
{
    if (d_->modifica == Dati::Modifica::Nessuna)
        return {};
    QStringList nomi;
    QVariantList valori;
    for (auto it = d_->pendenti.cbegin(); it != d_->pendenti.cend(); ++it) {
        nomi.append(nomeTraParentesi(d_->campi.at(it.key()).nome));
        valori.append(it.value());
    }
    const QString tabella = nomeTraParentesi(d_->tabella);
    QString istruzione;
    if (d_->modifica == Dati::Modifica::Nuova) {
        istruzione = nomi.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(tabella)
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(tabella, nomi.join(QStringLiteral(", ")),
                       QStringList(nomi.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    } else {
        for (QString& nome : nomi)
            nome += QStringLiteral(" = ?");
        if (d_->campoChiave < 0)
            return d_->senzaChiave();
        istruzione = QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                         .arg(tabella, nomi.join(QStringLiteral(", ")), ColonnaChiave);
        valori.append(d_->query->value(d_->campoChiave));
    }
    const Errore errore = d_->esegui(istruzione, valori);
    if (!errore.presente()) {
        d_->pendenti.clear();
        d_->modifica = Dati::Modifica::Nessuna;
    }
    return errore;
}

void Recordset::CancelUpdate()
{
    d_->pendenti.clear();
    d_->modifica = Dati::Modifica::Nessuna;
}

void ChiudiRecordset(std::unique_ptr<Recordset>& recordset)
{
    if (recordset && recordset->Aperto())
        recordset->Chiudi();
    recordset.reset();
}
