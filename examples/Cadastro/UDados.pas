unit UDados;

interface

uses
  SysUtils, Classes, DB, SqlExpr;

type
  TdmDados = class(TDataModule)
  public
    procedure AbreConexao;
    procedure MostraFicha(const Placa: string);
    function TotalVeiculos: integer;
  end;

var
  dmDados: TdmDados;

implementation

{$R *.dfm}

//# veiculos
//* Frota da empresa: um registro por veículo, identificado pela placa.
//+ A quilometragem é atualizada a cada devolução.

// Uma linha de código ou de comentário comum separa as tabelas.

//# alugueis
//* Cada aluguel liga um cliente a um veículo por um período.

//@ Abre a conexão com o servidor MySQL da empresa.
//* Os parâmetros vêm do arquivo de configuração; em caso de falha
//+ uma mensagem explica o motivo.
procedure TdmDados.AbreConexao;
begin
  Conexao.Connected := True;
end;

//@ Mostra a ficha completa do veículo cuja placa é informada.
procedure TdmDados.MostraFicha(const Placa: string);
begin
  { a ficha é um formulário modal }
end;

//@ Conta os veículos ativos da frota.
//* Veículos vendidos ou baixados não entram na conta.
function TdmDados.TotalVeiculos: integer;
begin
  Result := 0;
end;

end.
