program Cadastro;

//? Cadastro de Clientes
//* O programa de exemplo: seus comentários marcados são documentados como os de uma unit,
//* com o nome do programa.

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
