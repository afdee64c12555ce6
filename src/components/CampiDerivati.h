#pragma once

#include "common/Errore.h"

#include <QString>
#include <QVariant>
#include <functional>

// A column a report's layout may name that no statement returns: its text
// is made for each row from the row's own fields, so that the statements
// stay as the office's documents give them.
using ValoreRiga = std::function<QVariant(const QString& campo)>;
using CampoDerivato = std::function<QString(const ValoreRiga& riga)>;
// Makes the field for one report, on the archive of `stringaConnessione`.
using FabbricaCampo = std::function<Risultato<CampoDerivato>(const QString& stringaConnessione)>;

// Registering a name again replaces it.
void RegistraCampoDerivato(const QString& nome, const FabbricaCampo& fabbrica);
// Without regard to case; nothing when the name is not registered.
const FabbricaCampo* CampoDerivatoRegistrato(const QString& nome);
