#include "search/RicercaTabulario.h"

#include "archive/Archivio.h"
#include "components/Tabulario.h"

#include <QWidget>

RicercaTabulario::RicercaTabulario(QWidget* finestra) : QObject(finestra), finestra_(finestra) {}

Tabulario* RicercaTabulario::Trova() const
{
    return Trova_;
}

void RicercaTabulario::Avvia(const QString& archivio, const QString& istruzione)
{
    if (Trova_)
        Trova_->deleteLater();
    Trova_ = new Tabulario(finestra_);
    connect(Trova_, &Tabulario::ValoreDiRitorno, this, &RicercaTabulario::Trova_ValoreDiRitorno);
    Trova_->Connessione(StringaConnessione(archivio));
    Trova_->Sql(istruzione);
    Trova_->Titolo(QStringLiteral("Seleziona Documento"));
    Trova_->Mostra();
}

void RicercaTabulario::Trova_ValoreDiRitorno(const QStringList& strValoreDiRitorno)
{
    // Released first: the window's action may show messages of its own.
    if (Trova_)
        Trova_->deleteLater();
    Trova_ = nullptr;
    const QString scelto = strValoreDiRitorno.value(0);
    if (scelto.isEmpty())
        return;
    if (RichiamoExt)
        emit Valore(scelto);
    else
        emit DocumentoScelto(scelto);
}
