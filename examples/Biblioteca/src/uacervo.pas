unit uAcervo;

{$mode objfpc}{$H+}

interface

uses
  Classes, SysUtils, Forms, StdCtrls;

type
  TfrmAcervo = class(TForm)
    btnCatalogar: TButton;
    procedure btnCatalogarClick(Sender: TObject);
  end;

//@ Devolve a classificação decimal do título, como "869.3 (Ficção brasileira)".
//* Um título sem classificação devolve "000 (Generalidades)".
function Classificação(const Título: string): string;

//# biblioteca.acervo
//* Um registro por exemplar: título, autor, edição e situação.

var
  frmAcervo: TfrmAcervo;

implementation

{$R *.lfm}

//@ Cataloga o exemplar digitado e limpa o formulário.
procedure TfrmAcervo.btnCatalogarClick(Sender: TObject);
begin
end;

function Classificação(const Título: string): string;
begin
  if Título = '' then
    Result := '000 (Generalidades)'
  else
    Result := '869.3 (Ficção brasileira)';
end;

end.
