#pragma once

#include "AmbienteProva.h"

#include <QStringList>

// A PDF folder, a Marvena folder with spooling.ini and an empty archive,
// inside a test's temporary program folder.
class ProvaImportazione
{
public:
    explicit ProvaImportazione(AmbienteProva& ambiente);

    void scriviLunghezze(int codice, int tipo, int numero) const;
    // Creates empty files in the PDF folder.
    void documenti(const QStringList& nomi) const;

    // ElencoFileImp.txt as lines; fails the test if a line does not end in CR LF.
    QStringList elenco() const;
    // Posta as "Stampa|Codice|Tipo|NumDoc|Data|email", by Stampa.
    QStringList archivio() const;

    AmbienteProva& ambiente;
    QString pdf;
    QString marvena;
    QString database;
    QString fileIni;
};
