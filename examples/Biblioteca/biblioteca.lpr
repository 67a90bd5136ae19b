program biblioteca;

{$mode objfpc}{$H+}

//? Biblioteca Municipal
//* Controle do acervo, dos leitores e dos empréstimos da biblioteca.
//+ Feito com Lazarus; as fontes são UTF-8.

uses
  Interfaces, Forms, uAcervo, uEmprestimos;

{$R *.res}

begin
  Application.Initialize;
  Application.CreateForm(TfrmAcervo, frmAcervo);
  Application.Run;
end.
