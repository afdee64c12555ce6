#pragma once

class Recordset;

// A field's type as ADO would give it (adInteger, adDouble, adDate,
// adVarWChar with its declared size, adLongVarWChar, adLongVarBinary), and
// its defined size in the same terms (a whole number takes 4, a date 8).
// Lists that align or size their columns by type read these.
enum class TipoDatoAdo { Intero, Doppio, Data, Testo, TestoLungo, BinarioLungo };

TipoDatoAdo TipoAdo(const Recordset& recordset, int indice);
int DimensioneDefinita(const Recordset& recordset, int indice);
