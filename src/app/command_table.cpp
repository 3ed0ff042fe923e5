// The menu of the main window, row by row in menu order. The window builds its
// menu bar from it, verilote-cli lists and runs commands from it. Paths join
// submenu captions with " \x9B " (the Windows-1252 single right angle quote).
#include "app/command_table.hpp"

#include "app/cp1252.hpp"

namespace verilote {

namespace {

using S = Scope;

// clang-format off
constexpr MenuRow kRows[] = {
    {"&Validar", "Validar arquivo (detectar layout)", 16384 + 'O', "ValidarArquivoDetectarLayout1Click", S::Core},
    {"&Validar", "-", 0, "", S::Core},
    {"&Validar › Cobrança › SIGCB"_cp, "SIGCB - Remessa 240 ( Valida Tudo )", 0, "SIGCBRemessa1Click", S::Core},
    {"&Validar › Cobrança › SIGCB"_cp, "SIGCB - Remessa 240 ( Valida Parcial )", 0, "SIGCBRemessaValidaserros1Click", S::Core},
    {"&Validar › Cobrança › SIGCB"_cp, "SIGCB - Remessa 400 ( Valida Tudo )", 0, "SIGCBRemessa400ValidaTudo1Click", S::Core},
    {"&Validar › Cobrança › SIGCB"_cp, "-", 0, "", S::Core},
    {"&Validar › Cobrança › SIGCB › Boletos Antigos"_cp, "Código de barras SIGCB - Um boleto"_cp, 0, "CdigodebarrasSIGCB1Click", S::Core},
    {"&Validar › Cobrança › SIGCB › Boletos Antigos"_cp, "Código de barras SIGCB - Vários boletos"_cp, 16450, "CdigodebarrasSIGCBVriosboletos1Click", S::Core},
    {"&Validar › Cobrança › SIGCB › Boletos Antigos"_cp, "Representação Numérica SIGCB"_cp, 0, "RepresentaoNumricaSIGCB1Click", S::Core},
    {"&Validar › Cobrança › SIGCB › Boletos Antigos"_cp, "Código de barras SIGCB via arquivo"_cp, 0, "CdigodebarrasSIGCBviaarquivo1Click", S::Core},
    {"&Validar › Cobrança › SIGCB › Boletos Cedente 7 Digitos"_cp, "Código de barras um boleto"_cp, 0, "Cdigodebarrasumboleto1Click", S::Core},
    {"&Validar › Cobrança › SIGCB"_cp, "-", 0, "", S::Core},
    {"&Validar › Cobrança › SIGCB"_cp, "Converte CódBarra -> Representação"_cp, 0, "ConverteCdBarraRepresentao1Click", S::Core},
    {"&Validar › Cobrança › SIGCB"_cp, "Converte Representação -> CódBarra"_cp, 0, "ConverteRepresentaoCdBarra1Click", S::Core},
    {"&Validar › Cobrança › SICOB"_cp, "CobCAIXA - Remessa padrão 240"_cp, 0, "CobranaRemessapadro2401Click", S::Core},
    {"&Validar › Cobrança › SICOB"_cp, "CobCAIXA - Remessa padrão 400"_cp, 0, "CobranaRemessapadro4001Click", S::Core},
    {"&Validar › Cobrança › SICOB"_cp, "-", 0, "", S::Core},
    {"&Validar › Cobrança › SICOB"_cp, "Código de barras SICOB ( Várias Barras )"_cp, 0, "CdigodebarrasCobCaixa1Click", S::Core},
    {"&Validar › Cobrança › SICOB"_cp, "Representação numérica SICOB"_cp, 0, "Representaonumricacobcaixacobranacaixa1Click", S::Core},
    {"&Validar › Cobrança › SICOB"_cp, "-", 0, "", S::Core},
    {"&Validar › Cobrança › SICOB"_cp, "Código de barras SICOB Via arquivo"_cp, 0, "CdigodebarrasSICOBViaarquivo1Click", S::Core},
    {"&Validar › Cobrança › SICOB"_cp, "-", 0, "", S::Core},
    {"&Validar › Cobrança › SICOB › CobCaixa 2.x Importação"_cp, "Sacados", 0, "Sacados1Click", S::Core},
    {"&Validar › Cobrança › SICOB › CobCaixa 2.x Importação"_cp, "Títulos V 2.2.0"_cp, 0, "Ttulos1Click", S::Core},
    {"&Validar › Cobrança › SICOB › CobCaixa 2.x Importação"_cp, "Títulos V 2.3.3"_cp, 0, "TtulosV2331Click", S::Core},
    {"&Validar › Cobrança › SINCO"_cp, "SINCO - Remessa", 0, "SINCO1Click", S::Core},
    {"&Validar › Cobrança › SINCO"_cp, "-", 0, "", S::Core},
    {"&Validar › Cobrança › SINCO"_cp, "Código de barras SINCO"_cp, 0, "CdigodebarrasSINCO1Click", S::Core},
    {"&Validar › Cobrança › SINCO"_cp, "Representação Numérica SINCO"_cp, 0, "RepresentaoNumricadocdigodebarrasSINCO1Click", S::Core},
    {"&Validar › Cobrança › SINCO"_cp, "Código de barras SINCO Via arquivo"_cp, 0, "CdigodebarrasSINCOViaarquivo1Click", S::Core},
    {"&Validar › Cobrança"_cp, "Construgiro", 0, "Construgiro1Click", S::Core},
    {"&Validar › Cobrança"_cp, "-", 0, "", S::Core},
    {"&Validar › Cobrança"_cp, "Relatório de Homologação"_cp, 0, "RelatriodeHomologao1Click", S::Core},
    {"&Validar › Cobrança"_cp, "-", 0, "", S::Core},
    {"&Validar › Cobrança"_cp, "Montar código de barras e representação Numérica"_cp, 0, "Montarcdigodebarras1Click", S::Core},
    {"&Validar › Cobrança"_cp, "Código de barras 44 posições ( Genérico )"_cp, 0, "Cdigodebarras1Click", S::Core},
    {"&Validar › Cobrança › Nosso Número"_cp, "Nosso Número 10 Pos + dv"_cp, 0, "NossoNmero1Click", S::Core},
    {"&Validar › Cobrança › Nosso Número"_cp, "Nosso Número 15 Pos + dv"_cp, 0, "NossoNmero16Pos1Click", S::Core},
    {"&Validar › Cobrança › Nosso Número"_cp, "Nosso Número 18 Pos + dv"_cp, 0, "NossoNmero18Posdv1Click", S::Core},
    {"&Validar › Cobrança › Nosso Número"_cp, "Nosso Número SIGCB"_cp, 0, "NossoNmeroSIGCB1Click", S::Core},
    {"&Validar › Cobrança › Fator de vencimento"_cp, "Gerar fator de vencimento", 0, "Gerarfatordevencimento1Click", S::Core},
    {"&Validar › Cobrança › Fator de vencimento"_cp, "Validar um fator de vencimento", 0, "Validarumfatordevencimento1Click", S::Core},
    {"&Validar › Cobrança"_cp, "-", 0, "", S::Core},
    {"&Validar › Cobrança"_cp, "Gerar relação de NN com 10 Posições + DV"_cp, 0, "GerarrelaodeNNcom10Posies1Click", S::Core},
    {"&Validar › Cobrança"_cp, "Gerar relação de NN com 15 Posições + DV"_cp, 0, "GerarrelaodeNNcom16Posies1Click", S::Core},
    {"&Validar › Cobrança"_cp, "Gerar relação de NN com 18 Posições + DV"_cp, 0, "GerarrelaodeNNcom18Posies1Click", S::Core},
    {"&Validar › Cobrança"_cp, "Gerar relação de NN  do SIGCB"_cp, 0, "GerarrelaodeNNdoSIGCB1Click", S::Core},
    {"&Validar › Arrecadação"_cp, "SIACC - Arquivo Remessa", 0, "CaixaProgramado1Click", S::Core},
    {"&Validar › Arrecadação"_cp, "SIEMD - Arquivo Remessa do Contra-Cheque - Versão do layout 01"_cp, 0, "SIDEMRemessa1Click", S::Core},
    {"&Validar › Arrecadação"_cp, "SIEMD - Arquivo Remessa do Contra-Cheque - Versão do layout 03"_cp, 0, "SIEMDArqu1Click", S::Core},
    {"&Validar › Arrecadação"_cp, "-", 0, "", S::Core},
    {"&Validar › Arrecadação"_cp, "SITCS - Código de Barras - Vários boletos (Antigo SICAS-CapCAIXA)"_cp, 0, "SITCSVriosboletos1Click", S::Core},
    {"&Validar › Arrecadação"_cp, "SITCS - Código de Barras - Via arquivo"_cp, 0, "SITCSCdigodeBarrasViaarquivo1Click", S::Core},
    {"&Validar › Arrecadação › SICAP"_cp, "Um documento", 116, "Umdocumento1Click", S::Core},
    {"&Validar › Arrecadação › SICAP"_cp, "Vários Documentos"_cp, 0, "VriosDocumentos1Click", S::Core},
    {"&Validar › Arrecadação › SICAP"_cp, "Digitando os dados", 117, "Digitandoosdados1Click", S::Core},
    {"&Validar › Arrecadação"_cp, "-", 0, "", S::Core},
    {"&Validar › Arrecadação"_cp, "Relatorio de Homologação"_cp, 0, "RelatoriodeHomologao1Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Código Barras Tributos/impostos/taxas Prefeituras"_cp, 0, "CdigodebarrasCapCaixaTipo21Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Código Barras concessionárias saneamento"_cp, 0, "CdigoBarrasconcessionriassaneamento1Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Código Barras concessionárias Energia e Gás"_cp, 0, "CdigoBarrasconcessionriasEnergiaeGs1Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Código Barras concessionárias telecomunicações"_cp, 0, "CdigoBarrasconcessionriastelecomunicaes1Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Código Barras Tributos/impostos/taxas Orgãos Governamentais"_cp, 0, "CdigoBarrasTributosimpostostaxasOrgosGovernamentais1Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Código de barras Arrecadação Carnês e assemelhados"_cp, 0, "CdigodebarrasCapCaixaTipo31Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Código de barras arrecadação convênio exclusivo CAIXA"_cp, 0, "CdigodebarrasCapCaixaTipo3Caixa1Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Código de barras 12 posições ( Apenas um segmento )"_cp, 16465, "Cdigodebarras12posies1Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Código de barras de contribuição sindical"_cp, 0, "ValidaCdigodebarrasCapCaixa1Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "-", 0, "", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "S&adSicob Lay-Out Antigo", 0, "SadSicob1Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Capcaixa - Importação de guias"_cp, 0, "CapcaixaImportaodeguias1Click", S::Core},
    {"&Validar › Arrecadação › Antigos"_cp, "Acertar digito de um código de barras arrecadação"_cp, 0, "Acertardigitodeumcdigodebarras1Click", S::Core},
    {"&Validar › Outros"_cp, "CPF", 0, "ValidaCPF1Click", S::Core},
    {"&Validar › Outros"_cp, "CNPJ", 0, "ValidaCGC1Click", S::Core},
    {"&Validar › Outros"_cp, "Mostrar DV de uma conta", 0, "MostrarDVdeumaconta1Click", S::Core},
    {"&Validar › Outros"_cp, "Verificar se dois arquivos são iguais (Até 2000 registros)"_cp, 0, "VerificarsedoisarquivossoiguaisAt2000registros1Click", S::Core},
    {"&Validar › Outros"_cp, "Verificar o conteudo de um campo", 0, "Verificaroconteudodeumcampo1Click", S::Core},
    {"&Validar › Outros"_cp, "Verifica se um arquivo tem caracteres inválidos"_cp, 0, "Verificaseumarquivotemcaracteresinvlidos1Click", S::Core},
    {"&Validar", "Limpar Tela", 121, "LimparTela1Click", S::Core},
    {"&Validar", "-", 0, "", S::Core},
    {"&Validar", "&Sair", 0, "Sair1Click", S::Window},
    {"&Acertos › SICOV - Folha de pagamento e Débito/Crédito"_cp, "Altera NSA", 0, "AlteraNSA1Click", S::Core},
    {"&Acertos › SICOV - Folha de pagamento e Débito/Crédito"_cp, "Acerta campos Brancos", 0, "AcertacamposBrancos1Click", S::Core},
    {"&Acertos", "SICOB - Acerta dígito do cod barra da cobrança"_cp, 0, "Acertadgitodocodbarradacobrana1Click", S::Core},
    {"&Acertos", "SICOB - Valida BD cobcaixa com listagem CAIXA", 0, "ValidaBDcobcaixacolistageCAIXA1Click", S::Core},
    {"&Acertos › SIGCB - Acertos"_cp, "Remessa Com Registro Carnê ( Retira segmento Y )"_cp, 0, "RemessaComRegistroCarnRetirasegmentoY1Click", S::Core},
    {"&Acertos › SIGCB - Acertos"_cp, "Altera Número da Remessa"_cp, 0, "AlteraNmerodaRemessa1Click", S::Core},
    {"&Acertos › SIGCB - Acertos › Recupera banco de dados"_cp, "Sacados", 0, "Sacados2Click", S::Core},
    {"&Acertos › SIGCB - Acertos › Recupera banco de dados"_cp, "Títulos"_cp, 0, "Ttulos2Click", S::Core},
    {"&Acertos › SIACC - Contigência"_cp, "Gera arquivo para Importação a partir de remessa"_cp, 0, "GeraarquivoparaImportaoapartirderemessa1Click", S::Core},
    {"Outros", "Copia tela para arquivo novo", 0, "Copiaparaarquivonovo1Click", S::Core},
    {"Outros", "Copia tela para arquivo já existente"_cp, 0, "Copiaparaarquivojexistente1Click", S::Core},
    {"Outros", "Salvar relatório como…"_cp, 16384 + 'S', "SalvarRelatorioComo1Click", S::Window},
    {"Outros", "Imprimir a tela", 16457, "ImprimirMemoLines1Click", S::Window},
    {"Outros", "-", 0, "", S::Core},
    {"Outros", "Configura Impressão"_cp, 0, "ConfiguraImpresso1Click", S::Window},
    {"Outros", "Configura Impressora", 0, "ConfiguraImpressora1Click", S::Window},
    {"Outros", "Configura Fonte", 0, "ConfiguraFonte1Click", S::Window},
    {"Outros", "Configura Cor Fundo", 0, "ConfiguraCorFundo1Click", S::Window},
    {"Ferramentas", "Atualizar Versão deste aplicativo"_cp, 0, "AtualizaVersodesteaplicativo1Click", S::Window},
    {"Ferramentas", "Suporte Técnico"_cp, 0, "SuporteTcnico1Click", S::Window},
    {"", "Sobre", 0, "Sobre1Click", S::Window},
    {"", "Ajuda", 0, "Ajuda1Click", S::Window},
    // The bank's answers: last on the bar, so that every menu the users know
    // keeps its place (and its keyboard path).
    {"&Retorno", "Ler arquivo retorno", 0, "LerArquivoRetorno1Click", S::Core},
    {"&Retorno", "Conferir retorno com a remessa", 0, "ConferirRetornoRemessa1Click", S::Core},
};
// clang-format on

}  // namespace

std::span<const MenuRow> MenuRows() { return kRows; }

}  // namespace verilote
