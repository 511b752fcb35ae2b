#pragma once
// Reading the quality limits from the database: every row of
// ta_limites, for judging (limites.h). A database at a version before the
// limits table (one opened only to be read, which is never upgraded) has no
// limits. Throws Falla when the database cannot be read.

#include <QList>

#include "analisis/limites.h"

class Conexion;

QList<Limite> LeerLimites(Conexion& conexion);
