#pragma once

#include "base/Variant.h"

class QSqlField;
class QVariant;

// A field as the register's routines expect it, whatever the engine handed back: the schema's money columns
// as exact currency, its dates as date values (SQLite keeps them as text), its integers as numbers, and exact
// decimals that arrive as text in a numeric field as currency. Null is Null.
Variant FieldValue(const QSqlField &field, const QVariant &v);
