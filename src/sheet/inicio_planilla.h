#pragma once
// What the sheet window prepares after the session start and before its
// first lookup or report: the report engine's folder, and the lookup request
// with its definitions file "consultas.qvx" in the application folder (made
// with the default definitions when it is missing). Each step is attempted;
// one that fails (a folder that cannot be written) is skipped, and the
// lookups then use their built-in statements.

void PrepararConsultasYReportes();
