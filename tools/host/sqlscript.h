#pragma once
// Splits an SQL script into single statements.

#include <string>
#include <vector>

namespace host {

struct ScriptStatement {
  std::string text;  // without its terminator and surrounding blanks
  int line = 0;      // line of the script where the statement begins
};

// Statements end with the current terminator, ";" at first; "SET TERM x"
// (itself ended by the old terminator) changes it, so PSQL bodies holding
// ";" can be written between "SET TERM ^ ;" and "SET TERM ; ^". Comments
// ("--" to the end of the line, "/* */") are dropped; terminators inside
// quoted texts and quoted names do not count. SET TERM and SET SQL DIALECT
// are consumed here and do not appear in the result. Throws
// std::runtime_error for an unterminated text, comment or last statement.
std::vector<ScriptStatement> SplitSqlScript(const std::string& script);

// Data definition (CREATE, ALTER, DROP, RECREATE, DECLARE, COMMENT, GRANT):
// its effect is visible only once its transaction is committed.
bool IsDefinition(const std::string& statement);
// COMMIT or COMMIT WORK: a request to commit the running transaction.
bool IsCommit(const std::string& statement);

}  // namespace host
