unit UPrincipal;

//? Ajuda Geral
//* Cadastro de Automóveis v2.8: controla a frota da empresa, os clientes
//+ e os aluguéis de cada veículo.
//* Use o menu Arquivo para abrir um cadastro e o menu Relatórios para
//+ imprimir as listagens.

//? Atalhos de teclado
//* F2 abre a ficha do veículo selecionado; F5 atualiza a grade.

interface

uses
  Windows, SysUtils, Classes, Forms, Controls, Grids, DBGrids;

type
  TfrmPrincipal = class(TForm)
    gradeVeiculos: TDBGrid;
    procedure FormCreate(Sender: TObject);
    procedure gradeVeiculosDblClick(Sender: TObject);
  private
    procedure AtualizaTitulo;
  end;

var
  frmPrincipal: TfrmPrincipal;

implementation

{$R *.dfm}

uses UDados;

//@ Prepara a janela principal: abre a conexão e carrega a frota.
//* Chamado uma única vez, quando o programa começa.
procedure TfrmPrincipal.FormCreate(Sender: TObject);
begin
  dmDados.AbreConexao;
  AtualizaTitulo;
end;

//@ Abre a ficha do veículo em que o usuário deu duplo clique.
procedure TfrmPrincipal.gradeVeiculosDblClick(Sender: TObject);
begin
  dmDados.MostraFicha(gradeVeiculos.DataSource.DataSet.FieldByName('placa').AsString);
end;

//@ Mostra no título da janela quantos veículos estão cadastrados.
procedure TfrmPrincipal.AtualizaTitulo;
begin
  Caption := 'Cadastro de Automóveis - ' + IntToStr(dmDados.TotalVeiculos) + ' veículos';
end;

end.
