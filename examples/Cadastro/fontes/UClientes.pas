unit UClientes;

interface

//# clientes
//* Cadastro de clientes: pessoas físicas e jurídicas.

//@ Procura um cliente pelo CPF ou CNPJ, com ou sem pontuação.
//* Devolve o código do cliente, ou -1 quando não o encontra.
function LocalizaCliente(const Documento: string): integer;

//@ Confere os dígitos verificadores de um CPF.
function CPFValido(const CPF: string): Boolean;

implementation

function LocalizaCliente(const Documento: string): integer;
begin
  Result := -1;
end;

function CPFValido(const CPF: string): Boolean;
begin
  Result := Length(CPF) = 11;
end;

end.
