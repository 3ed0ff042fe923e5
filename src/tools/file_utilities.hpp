// The file tools of the menu "&Validar" > "Outros", for any text file whatever
// its layout: compare two files position by position, show one field of one
// record, and list the records holding characters the bank's layouts refuse.
#pragma once

#include "app/command_table.hpp"

namespace verilote {

// "Verificar se dois arquivos são iguais (Até 2000 registros)": both files are
// streamed (counted, then read in lockstep), so the caption's limit no longer
// holds. Faulty when the files differ.
Verdict VerificarsedoisarquivossoiguaisAt2000registros1Click(Host& host);

// "Verificar o conteudo de um campo".
Verdict Verificaroconteudodeumcampo1Click(Host& host);

// "Verifica se um arquivo tem caracteres inválidos": Faulty when a record is listed.
Verdict Verificaseumarquivotemcaracteresinvlidos1Click(Host& host);

}  // namespace verilote
