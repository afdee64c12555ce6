#pragma once

class Recordset;

// A field's type as the ADO data type codes tell it (3 whole number, 5
// floating point, 7 date, 202 text of a declared size, 203 long text, 205
// binary), and its defined size in the same terms (a whole number takes 4,
// a date 8). Lists that align or size their columns by type read these.
int TipoAdo(const Recordset& recordset, int indice);
int DimensioneDefinita(const Recordset& recordset, int indice);
