unit uEmprestimos;

{$mode objfpc}{$H+}

interface

//? Empréstimos
//* Cada leitor leva até três exemplares por quinze dias.
//* A devolução em atraso suspende novos empréstimos por uma semana.

//@ Calcula a data de devolução a partir da data de retirada.
function DataDeDevolução(Retirada: TDateTime): TDateTime;

implementation

function DataDeDevolução(Retirada: TDateTime): TDateTime;
begin
  Result := Retirada + 15;
end;

end.
