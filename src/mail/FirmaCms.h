#pragma once

#include "common/Errore.h"
#include "mail/RegistroRicevute.h"

#include <QString>

// A receipt's S/MIME signature checked with OpenSSL's CMS functions against
// the providers' certificates the user gave (a PEM file of CAs). Without a
// file nobody checks, and every receipt is taken as not verified; a file
// that cannot be read is an error, never a silent "not verified".
Risultato<VerificaFirma> VerificaConCertificati(const QString& fileCA);
