unit UUtil;

interface

//@ Devolve a data e a hora do servidor.
function Agora: TDateTime;

//@ Formata um valor em reais, com o símbolo e duas casas decimais.
//* Exemplo: 1234,5 vira "R$ 1.234,50".
function FormataReais(Valor: Currency): string;

implementation

//* Este comentário não tem marcador de tipo acima dele: é um comentário órfão.
//+ O Quorvel avisa e só o inclui na documentação quando as opções pedem.
const
  Simbolo = 'R$';

function Agora: TDateTime;
begin
  Result := Now;
end;

function FormataReais(Valor: Currency): string;
begin
  Result := Simbolo + ' ' + FormatFloat('#,##0.00', Valor);
end;

end.
