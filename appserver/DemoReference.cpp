#include "DemoReference.h"

#include "TaxIds.h"

#include <QRandomGenerator>

namespace {

const char *const branchCities[] = {"Matriz São Paulo", "Filial Campinas", "Filial Rio de Janeiro", "Filial Belo Horizonte",
                                     "Filial Curitiba", "Filial Porto Alegre", "Filial Salvador", "Filial Recife",
                                     "Filial Fortaleza", "Filial Brasília"};

const char *const firstNames[] = {"Ana", "Maria", "Juliana", "Fernanda", "Patrícia", "Camila", "Beatriz", "Larissa", "Mariana",
                                  "Letícia", "Gabriela", "Aline", "João", "Pedro", "Lucas", "Gabriel", "Rafael", "Carlos",
                                  "José", "Paulo", "Ricardo", "Marcelo", "André", "Thiago", "Felipe", "Rodrigo", "Gustavo",
                                  "Vinícius", "Luíza", "Helena", "Antônio", "Sebastião", "Conceição", "Raimunda", "Otávio"};

const char *const lastNames[] = {"Silva", "Santos", "Oliveira", "Souza", "Rodrigues", "Ferreira", "Alves", "Pereira", "Lima",
                                 "Gomes", "Costa", "Ribeiro", "Martins", "Carvalho", "Almeida", "Lopes", "Soares", "Fernandes",
                                 "Vieira", "Barbosa", "Rocha", "Dias", "Nascimento", "Andrade", "Moreira", "Nunes", "Marques",
                                 "Machado", "Mendes", "Freitas", "Cardoso", "Teixeira", "Araújo", "Conceição", "Magalhães"};

const char *const companyWords[] = {"Aurora", "Horizonte", "Primavera", "Estrela", "Atlântico", "Ipê", "Jacarandá", "Cristal",
                                    "Vitória", "Bandeirantes", "Cerrado", "Pantanal", "Paraná", "Serra Azul", "Boa Vista"};

const char *const companyKinds[] = {"Comércio", "Indústria", "Engenharia", "Transportes", "Tecnologia", "Construtora",
                                    "Advocacia", "Clínica", "Consultoria", "Alimentos"};

struct Place {
    const char *state;
    const char *code;
    const char *name;
};

const Place places[] = {{"SP", "3550308", "São Paulo"}, {"SP", "3509502", "Campinas"}, {"SP", "3548500", "Santos"},
                        {"RJ", "3304557", "Rio de Janeiro"}, {"RJ", "3303302", "Niterói"}, {"MG", "3106200", "Belo Horizonte"},
                        {"MG", "3170206", "Uberlândia"}, {"PR", "4106902", "Curitiba"}, {"PR", "4113700", "Londrina"},
                        {"RS", "4314902", "Porto Alegre"}, {"SC", "4205407", "Florianópolis"}, {"SC", "4209102", "Joinville"},
                        {"BA", "2927408", "Salvador"}, {"PE", "2611606", "Recife"}, {"CE", "2304400", "Fortaleza"},
                        {"DF", "5300108", "Brasília"}, {"GO", "5208707", "Goiânia"}, {"AM", "1302603", "Manaus"},
                        {"PA", "1501402", "Belém"}};

const char *const streets[] = {"Rua das Flores", "Avenida Paulista", "Rua XV de Novembro", "Avenida Brasil", "Rua Sete de Setembro",
                               "Rua Tiradentes", "Avenida Getúlio Vargas", "Rua Santos Dumont", "Rua Dom Pedro II",
                               "Avenida Atlântica", "Rua da Consolação", "Rua Augusta"};

struct ProductSeed {
    const char *name;
    const char *unit;
    double price;
    bool perGuest;
};

// Groups of the product tree: 01 food, 02 drinks, 03 staff, 04 decoration, 05 structure.
const ProductSeed productGroups[5][8] = {
    {{"Buffet completo por pessoa", "PES", 89.90, true}, {"Coquetel volante por pessoa", "PES", 54.50, true},
     {"Jantar servido três pratos", "PES", 120.00, true}, {"Churrasco completo", "PES", 75.00, true},
     {"Mesa de frios", "UN", 680.00, false}, {"Bolo decorado", "KG", 95.00, false},
     {"Docinhos finos (cento)", "CTO", 210.00, false}, {"Salgadinhos fritos (cento)", "CTO", 85.00, false}},
    {{"Refrigerante lata", "UN", 6.50, false}, {"Suco natural (litro)", "LT", 18.00, false},
     {"Água mineral 500 ml", "UN", 3.50, false}, {"Cerveja long neck", "UN", 9.90, false},
     {"Espumante nacional", "GF", 62.00, false}, {"Vinho tinto seco", "GF", 78.00, false},
     {"Open bar de drinques", "PES", 45.00, true}, {"Café e chá", "PES", 4.00, true}},
    {{"Garçom (turno de 6 horas)", "HR", 35.00, false}, {"Copeira", "HR", 28.00, false},
     {"Maître", "HR", 60.00, false}, {"Recepcionista", "HR", 32.00, false},
     {"Segurança", "HR", 38.00, false}, {"Manobrista", "HR", 30.00, false},
     {"DJ com equipamento", "HR", 250.00, false}, {"Banda ao vivo", "HR", 900.00, false}},
    {{"Decoração floral de mesa", "UN", 120.00, false}, {"Arranjo de entrada", "UN", 450.00, false},
     {"Toalhas e guardanapos", "PES", 6.00, true}, {"Iluminação cênica", "UN", 1800.00, false},
     {"Painel de fotos", "UN", 950.00, false}, {"Lembrancinhas", "UN", 8.50, false},
     {"Convites impressos", "UN", 4.20, false}, {"Cerimonial", "UN", 2500.00, false}},
    {{"Tenda 10 x 10 m", "UN", 2200.00, false}, {"Palco 6 x 4 m", "UN", 1600.00, false},
     {"Pista de dança", "M2", 45.00, false}, {"Gerador", "HR", 180.00, false},
     {"Mesa redonda com 8 cadeiras", "UN", 55.00, false}, {"Climatizador", "UN", 320.00, false},
     {"Sonorização", "UN", 1400.00, false}, {"Telão com projetor", "UN", 1100.00, false}}};

const char *const eventTypeNames[] = {"Casamento", "Aniversário", "Formatura", "Confraternização", "Bodas", "Batizado",
                                      "Evento corporativo", "Festa de 15 anos", "Chá de bebê", "Coquetel"};
const char *const serviceTypeNames[] = {"Buffet completo", "Coquetel", "Churrasco", "Jantar servido", "Café da manhã",
                                        "Brunch", "Almoço executivo"};
const char *const reasonNames[] = {"Desistência do cliente", "Mudança de data do evento", "Problemas financeiros do cliente",
                                   "Contratou outro fornecedor", "Falecimento na família", "Evento adiado pelo cliente",
                                   "Salão indisponível na data", "Orçamento vencido", "Orçamento em duplicidade", "Outros motivos"};
const char *const priceBaseNames[] = {"Tabela padrão", "Tabela promocional", "Tabela corporativa", "Alta temporada"};

struct HallSeed {
    const char *code;
    const char *name;
    int limit;
};
const HallSeed hallSeeds[] = {{"S01", "Salão Cristal", 2}, {"S02", "Salão Imperial", 1}, {"S03", "Espaço Jardim", 3},
                              {"S04", "Espaço Girassol", 0}};

template<typename T, std::size_t N>
const T &pick(QRandomGenerator &random, const T (&values)[N])
{
    return values[random.bounded(quint32(N))];
}

QString code(int number, int width)
{
    return QString::number(number).rightJustified(width, QLatin1Char('0'));
}

QString personName(QRandomGenerator &random)
{
    return QStringLiteral("%1 %2 %3").arg(QString::fromUtf8(pick(random, firstNames)), QString::fromUtf8(pick(random, lastNames)),
                                          QString::fromUtf8(pick(random, lastNames)));
}

} // namespace

DemoReference::DemoReference(quint32 seedValue)
{
    QRandomGenerator random(seedValue);
    Table filial{QStringLiteral("FILIAL"), {QStringLiteral("CDFILIAL"), QStringLiteral("NMFILIAL")}, {}};
    for (int i = 0; i < 10; ++i) {
        branches << code(i + 1, 4);
        filial.rows << QVariantList{branches.last(), QString::fromUtf8(branchCities[i])};
    }
    Table vendedor{QStringLiteral("VENDEDOR"), {QStringLiteral("CDVENDEDOR"), QStringLiteral("NMFANVEN")}, {}};
    for (int i = 0; i < 40; ++i) {
        sellers << code(i + 1, 4);
        vendedor.rows << QVariantList{sellers.last(), personName(random)};
    }
    Table pais{QStringLiteral("PAIS"), {QStringLiteral("CDPAIS"), QStringLiteral("NMPAIS")},
               {{QStringLiteral("1058"), QStringLiteral("Brasil")}, {QStringLiteral("6076"), QStringLiteral("Portugal")}}};
    Table municipio{QStringLiteral("MUNICIPIO"),
                    {QStringLiteral("CDPAIS"), QStringLiteral("SGESTADO"), QStringLiteral("CDMUNICIPIO"), QStringLiteral("NMMUNICIPIO")}, {}};
    for (const Place &place : places) {
        municipio.rows << QVariantList{QStringLiteral("1058"), QString::fromLatin1(place.state), QString::fromLatin1(place.code),
                                       QString::fromUtf8(place.name)};
    }
    Table cliente{QStringLiteral("CLIENTE"),
                  {QStringLiteral("CDCLIENTE"), QStringLiteral("IDTPIJURCLIE"), QStringLiteral("NRINSJURCLIE"), QStringLiteral("NMFANTCLIE"),
                   QStringLiteral("NMRAZSOCCLIE")}, {}};
    Table endeclie{QStringLiteral("ENDECLIE"),
                   {QStringLiteral("CDCLIENTE"), QStringLiteral("IDTPENDECLIE"), QStringLiteral("CDPAIS"), QStringLiteral("SGESTADO"),
                    QStringLiteral("CDMUNICIPIO"), QStringLiteral("DSENDECLIE")}, {}};
    for (int i = 0; i < 2000; ++i) {
        const QString clientCode = code(i + 1, 8);
        const bool company = random.bounded(4) == 0;
        QString tradeName;
        QString legalName;
        QString registration;
        if (company) {
            const QString word = QString::fromUtf8(pick(random, companyWords));
            const QString kind = QString::fromUtf8(pick(random, companyKinds));
            tradeName = QStringLiteral("%1 %2").arg(kind, word);
            legalName = QStringLiteral("%1 %2 %3 Ltda").arg(kind, word, QString::fromUtf8(pick(random, lastNames)));
            registration = TaxIds::cnpj(random.generate64());
        } else {
            legalName = personName(random);
            tradeName = legalName;
            registration = TaxIds::cpf(random.generate64());
        }
        clients << Client{clientCode, tradeName};
        cliente.rows << QVariantList{clientCode, company ? QStringLiteral("J") : QStringLiteral("F"), registration, tradeName, legalName};
        const Place &place = pick(random, places);
        const auto address = [&](const char *kind) {
            endeclie.rows << QVariantList{clientCode, QString::fromLatin1(kind), QStringLiteral("1058"), QString::fromLatin1(place.state),
                                          QString::fromLatin1(place.code),
                                          QStringLiteral("%1, %2").arg(QString::fromUtf8(pick(random, streets))).arg(random.bounded(1, 3000))};
        };
        address("P");
        if (random.bounded(5) == 0) {
            address("C");
        }
    }
    Table produto{QStringLiteral("PRODUTO"),
                  {QStringLiteral("CDPRODUTO"), QStringLiteral("CDARVPROD"), QStringLiteral("NMPRODUTO"), QStringLiteral("SGUNIDADE")}, {}};
    for (int group = 0; group < 5; ++group) {
        for (int item = 0; item < 8; ++item) {
            const ProductSeed &seed = productGroups[group][item];
            const QString productCode = code(group * 100 + item + 1, 6);
            // Tree code: group, subgroup, item; the host's mask adds the dots.
            const QString treeCode = code(group + 1, 2) + code(item / 4 + 1, 3) + code(item + 1, 4);
            products << Product{productCode, QString::fromLatin1(seed.unit), seed.price, seed.perGuest};
            produto.rows << QVariantList{productCode, treeCode, QString::fromUtf8(seed.name), QString::fromLatin1(seed.unit)};
        }
    }
    Table tipoEvento{QStringLiteral("TIPOEVENTO"), {QStringLiteral("CDTIPOEVENTO"), QStringLiteral("NMTIPOEVENTO")}, {}};
    for (int i = 0; i < int(std::size(eventTypeNames)); ++i) {
        eventTypes << std::pair{code(i + 1, 3), QString::fromUtf8(eventTypeNames[i])};
        tipoEvento.rows << QVariantList{eventTypes.last().first, eventTypes.last().second};
    }
    Table tipoServ{QStringLiteral("TIPOSERVEVEN"), {QStringLiteral("CDTPSERVEVEN"), QStringLiteral("NMTPSERVEVEN")}, {}};
    for (int i = 0; i < int(std::size(serviceTypeNames)); ++i) {
        serviceTypes << std::pair{code(i + 1, 3), QString::fromUtf8(serviceTypeNames[i])};
        tipoServ.rows << QVariantList{serviceTypes.last().first, serviceTypes.last().second};
    }
    m_lookup = {filial, vendedor, pais, municipio, cliente, endeclie, produto, tipoEvento, tipoServ};

    Table justexchis{QStringLiteral("JUSTEXCHIS"), {QStringLiteral("CDJUSTEXCHIS"), QStringLiteral("DSJUSTEXCHIS")}, {}};
    for (int i = 0; i < int(std::size(reasonNames)); ++i) {
        reasons << code(i + 1, 4);
        justexchis.rows << QVariantList{reasons.last(), QString::fromUtf8(reasonNames[i])};
    }
    Table precobase{QStringLiteral("PRECOBASE"), {QStringLiteral("CDPRECOBASE"), QStringLiteral("DSPRECOBASE")}, {}};
    for (int i = 0; i < int(std::size(priceBaseNames)); ++i) {
        priceBases << std::pair{code(i + 1, 2), QString::fromUtf8(priceBaseNames[i])};
        precobase.rows << QVariantList{priceBases.last().first, priceBases.last().second};
    }
    Table paramorca{QStringLiteral("PARAMORCA"), {QStringLiteral("IDPARAMORCA"), QStringLiteral("IDORIGPRUNITORE")},
                    {{1, QStringLiteral("T")}}};
    Table salao{QStringLiteral("SALAOEVEN"),
                {QStringLiteral("CDFILIAL"), QStringLiteral("CDSALAOEVEN"), QStringLiteral("NMSALAOEVEN"), QStringLiteral("QTLIMAGENDIA")}, {}};
    for (const QString &branch : std::as_const(branches)) {
        for (const HallSeed &seed : hallSeeds) {
            halls << Hall{branch, QString::fromLatin1(seed.code), seed.limit};
            salao.rows << QVariantList{branch, halls.last().code, QString::fromUtf8(seed.name),
                                       seed.limit > 0 ? QVariant(seed.limit) : QVariant(QMetaType::fromType<int>())};
        }
    }
    m_server = {justexchis, precobase, paramorca, salao};
}
