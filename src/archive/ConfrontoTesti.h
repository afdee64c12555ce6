#pragma once

#include <QString>
#include <QStringList>

// How the archive compares and orders text, the same on every engine: two
// texts are equal when their lower-case forms are (Unicode's own mapping, as
// ICU gives it for no language in particular: "ÀBC" is "àbc", "ÉCOLE" is
// "école"); texts are ordered by those forms, character by character in
// Unicode's numbering. Nothing here depends on a language's sorting tables,
// which differ between machines and versions: a server and a workstation
// always agree, and accented letters come after the plain ones.

// The lower-case form.
QString Minuscolo(const QString& testo);

// Negative, zero or positive as `a` comes before, with, or after `b`.
int ConfrontaTesti(QStringView a, QStringView b);

// Every text whose lower-case form is `testo`'s, up to ASCII letters (an
// engine that ignores their case finds those); empty when there would be more
// than `massimo` of them.
QStringList Varianti(const QString& testo, int massimo);
