// Documentation of a //# table comment.
#include "app/QuorvelCore.h"

void QuorvelCore::gravaTabelaSemDescricao()
{
    m_TipoIdentificadorAtual = TipoTabela();
    m_IdentificadorAtual = m_NomeTabela;
    m_NomeIdentificadorAtual = m_NomeTabela;
    InsereIdentificador();
}

void QuorvelCore::DocumentaTabela()
{
    // Until the server can be asked, every table comment is kept as it was
    // written, without the table's description.
    gravaTabelaSemDescricao();
}
