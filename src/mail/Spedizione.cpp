#include "mail/Spedizione.h"

#include "common/Dialoghi.h"
#include "common/Testo.h"
#include "mail/RegistraInvii.h"
#include "settings/Contesto.h"

#include <limits>

std::optional<int> PortaSmtp(const QString& porta)
{
    if (porta.trimmed().isEmpty())
        return 0;
    const std::optional<qint32> valore = InteroDaTesto(porta);
    if (!valore || *valore < std::numeric_limits<qint16>::min() || *valore > std::numeric_limits<quint16>::max())
        return std::nullopt;
    return *valore;
}

void Spedizione::Avvia(std::unique_ptr<Corvex> em, const Contesto& contesto, int porta, const TabellaInvio& tabella)
{
    const EmailImpostazioni& impostazioni = contesto.email;
    // The seven values in the component's order.
    static_cast<ValoriCorvex&>(*em) = {impostazioni.Indirizzo, impostazioni.Messaggio, impostazioni.Oggetto,
                                       impostazioni.Password, porta, impostazioni.SMTP, impostazioni.UserID};
    // Owned by nobody but itself until the component reports.
    auto* spedizione = new Spedizione(std::move(em), contesto);
    spedizione->em_->InviaDocumenti(tabella);
}

Spedizione::Spedizione(std::unique_ptr<Corvex> em, const Contesto& contesto)
    : em_(std::move(em)), archivio_(contesto.strDatabase), adesso_(contesto.adesso)
{
    AvanzamentoInvii& avanzamento = AvanzamentoInvii::Istanza();
    connect(em_.get(), &Corvex::Avanzamento, &avanzamento, &AvanzamentoInvii::Avanzamento);
    connect(em_.get(), &Corvex::Risultato, this,
            [this](bool, const QString& strMessaggio) { Risultato(strMessaggio); });
    avanzamento.Cambia(+1);
}

void Spedizione::Risultato(const QString& strMessaggio)
{
    // A component that reports twice is heard once.
    disconnect(em_.get(), nullptr, this, nullptr);
    disconnect(em_.get(), nullptr, &AvanzamentoInvii::Istanza(), nullptr);
    AvanzamentoInvii::Istanza().Cambia(-1);
    QStringList note{NotaRegistrazione(RegistraInvii(archivio_))};
    // The outcomes reach the archive even when no list could be written.
    if (const QStringList righe = em_->ElencoNonScritto(); !righe.isEmpty()) {
        const EsitoRegistrazione diretta = RegistraRighe(archivio_, righe, adesso_());
        if (diretta.registrate > 0)
            note.append(QStringLiteral("Esiti registrati nell'archivio anche senza elenco: %1.").arg(diretta.registrate));
        note.append(NotaRegistrazione(diretta));
    }
    note.removeAll(QString());
    const QString nota = note.join(QLatin1Char('\n'));
    MostraMessaggio(nota.isEmpty() ? strMessaggio : strMessaggio + QStringLiteral("\n\n") + nota,
                    Icona::Informazione);
    deleteLater();
}

AvanzamentoInvii& AvanzamentoInvii::Istanza()
{
    static AvanzamentoInvii istanza;
    return istanza;
}

void AvanzamentoInvii::Cambia(int differenza)
{
    inCorso_ += differenza;
    emit InCorsoCambiato(inCorso_);
}
