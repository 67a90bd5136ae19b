program Cadastro;

//? Este comentário está no projeto e não gera linha na tabela.

uses
  Forms,
  UPrincipal in 'UPrincipal.pas' {frmPrincipal},
  UDados in 'UDados.pas' {dmDados: TDataModule},
  UClientes in 'fontes\UClientes.pas',
  UUtil in 'fontes\UUtil.pas';

{$R *.res}

begin
  Application.Initialize;
  Application.Title := 'Cadastro de Automóveis';
  Application.CreateForm(TfrmPrincipal, frmPrincipal);
  Application.CreateForm(TdmDados, dmDados);
  Application.Run;
end.
