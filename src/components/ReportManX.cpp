#include "components/ReportManX.h"

#include "common/CartellaProgramma.h"
#include "common/Orologio.h"
#include "components/DocumentoReport.h"
#include "components/frmAnteprimaReport.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>

void ReportManX::Registra()
{
    ComponenteReport::Registra(NomeClasse, [] { return std::make_unique<ReportManX>(); });
}

// Names of parameters, aliases and data sets ignore case, as the engine's do.
void ReportManX::SetParamValue(const QString& parametro, const QString& valore)
{
    parametri_.insert(parametro.toUpper(), valore);
}

void ReportManX::SetDatabaseConnectionString(const QString& alias, const QString& stringaConnessione)
{
    connessioni_.insert(alias.toUpper(), stringaConnessione);
}

void ReportManX::SetDatasetSQL(const QString& dataset, const QString& istruzione)
{
    dataset_.insert(dataset.toUpper(), istruzione);
}

std::shared_ptr<const DocumentoReport> ReportManX::Prepara()
{
    errore_.clear();
    const QString percorso = QFileInfo(file_).isRelative() ? FileProgramma(file_) : file_;
    const auto layout = LeggiLayoutReport(percorso);
    if (!layout) {
        errore_ = layout.errore().testo();
        return nullptr;
    }
    const auto istruzione = dataset_.constFind(layout->dataset.toUpper());
    const auto connessione = connessioni_.constFind(layout->alias.toUpper());
    if (istruzione == dataset_.cend() || connessione == connessioni_.cend()) {
        errore_ = QStringLiteral("Non è stata data l'istruzione del data set ") + layout->dataset
            + QStringLiteral(" o la connessione dell'alias ") + layout->alias + QLatin1Char('.');
        return nullptr;
    }
    auto dati = LeggiDatiReport(*layout, *connessione, *istruzione);
    if (!dati) {
        errore_ = dati.errore().testo();
        return nullptr;
    }
    return std::make_shared<const DocumentoReport>(*layout, std::move(*dati), parametri_, Adesso());
}

bool ReportManX::Execute()
{
    const auto documento = Prepara();
    if (!documento)
        return false;
    if (anteprima_) {
        // A window of the program's, so that it closes with the main window.
        auto* anteprima = new frmAnteprimaReport(documento, titolo_, QApplication::activeWindow());
        anteprima->show();
        return true;
    }
    QPrinter stampante(QPrinter::HighResolution);
    if (!documento->Stampa(stampante)) {
        errore_ = QStringLiteral("La stampante non ha accettato il report.");
        return false;
    }
    return true;
}
