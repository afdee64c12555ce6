#pragma once

#include "search/CriteriRicerca.h"

#include <QString>
#include <QStringList>

// The document types the archive holds, for the type lists.
inline const QString IstruzioneTipi = QStringLiteral("select distinct Tipo from posta order by tipo;");

// The statements on Posta that the reprint and copy windows hand to the
// lookup list or copy from. Values are trimmed and their quotes doubled; the
// year goes in as typed.
//
// `blnTipoSempre`: the copy window also lists Tipo when one type is chosen,
// because its list file needs it. A value outside the modes gives an empty
// text.
QString IstruzioneDocumenti(ModoRicerca modo, const CriteriRicerca& criteri, bool blnTipoSempre);

// The same rows in the same order, each with every column a line of
// `velmira cerca` shows: Stampa, Tipo, NumDoc, data, Codice (then email),
// whatever the mode and the type.
QString IstruzioneRigheComplete(ModoRicerca modo, const CriteriRicerca& criteri);

// The conditions on Posta of a mode's search, for a statement that adds its
// own (the search by words): those of the mode, and the type unless every
// type is wanted.
QStringList CondizioniRicerca(ModoRicerca modo, const CriteriRicerca& criteri);
