#pragma once

#include <QString>
#include <QStringList>

// Real PDF files for the tests of the documents' text: each page of
// `pagine` drawn as lines of text, or a scan (a page that is only a picture).
void ScriviPdf(const QString& percorso, const QStringList& pagine);
void ScriviScansione(const QString& percorso);
