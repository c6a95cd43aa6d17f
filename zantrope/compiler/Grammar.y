/* The VHDL grammar the compiler accepts, for bison.

   The rules are numbered as the rule actions and the parser trace name them:
   rule 1 is the parser's own accept rule, and the number after each
   alternative below is its rule number (bison's reports count from 0, one
   less). Grammar_rules.txt beside this file lists the same rules in the same
   order; the build compares the two and checks the automaton's figures, so a
   rule moved, lost or changed fails the build.

   The terminals are the token codes of Tokens.def: the build writes their
   %token lines in place of the marker below. The grammar holds exactly one
   shift/reduce conflict: after an attribute name, a left parenthesis is
   shifted as the attribute's parameter instead of ending the name. */

%code requires {
#include "compiler/Grammar_value.h"
}

%{
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "compiler/Diagnostics.h"
#include "compiler/Globals.h"
#include "compiler/Log_file.h"
#include "compiler/Parser.h"

// The parse stacks hold 200 entries and do not grow: the push that fills
// the last entry ends the parse with result 2.
#define YYINITDEPTH zantrope::parser_stack_size
#define YYMAXDEPTH zantrope::parser_stack_size
// The parser's messages in the compiler's words.
#define YY_(Msgid) zantrope::parser_message(Msgid)
// The trace goes to the trace file of the program folder.
#define YYFPRINTF(Stream, ...) zantrope::parser_trace(__VA_ARGS__)
#define YYSTYPE_IS_TRIVIAL 1

namespace zantrope {
const char* parser_message(const char* text);
void parser_trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
}  // namespace zantrope

static int yylex();
static void yyerror(const char* message);
%}

%define api.prefix {vhdl_yy}
%define api.token.prefix {TOK_}
%define api.value.type {zantrope::parser_value}
%define parse.trace
%expect 1
%start start

/* The parser's own undefined token keeps its fixed code. */
%token YYUNDEF 257

/* @token declarations@ */

%%

start
  : design_file                                                       /* 2 */
  ;

design_file
  : design_units                                                      /* 3 */
  ;

design_units
  : design_unit                                                       /* 4 */
  | design_units design_unit                                          /* 5 */
  ;

designator
  : t_Identifier                                                      /* 6 */
  | t_StringLit                                                       /* 7 */
  ;

literal
  : t_AbstractLit                                                     /* 8 */
  | t_CharacterLit                                                    /* 9 */
  | physical_literal_no_default                                       /* 10 */
  | t_NULL                                                            /* 11 */
  ;

enumeration_literal
  : t_CharacterLit                                                    /* 12 */
  | t_Identifier                                                      /* 13 */
  ;

physical_literal
  : opt_t_AbstractLit t_Identifier                                    /* 14 */
  ;

opt_t_AbstractLit
  : %empty                                                            /* 15 */
  | t_AbstractLit                                                     /* 16 */
  ;

physical_literal_no_default
  : t_AbstractLit t_Identifier                                        /* 17 */
  ;

idf_list
  : t_Identifier                                                      /* 18 */
  | idf_list t_Comma t_Identifier                                     /* 19 */
  ;

design_unit
  : context_list lib_unit                                             /* 20 */
  ;

context_list
  : %empty                                                            /* 21 */
  | context_list context_item                                         /* 22 */
  ;

lib_unit
  : entity_declaration                                                /* 23 */
  | configuration_declaration                                         /* 24 */
  | package_declaration                                               /* 25 */
  | architecture_body                                                 /* 26 */
  | package_body                                                      /* 27 */
  ;

context_item
  : lib_clause                                                        /* 28 */
  | use_clause                                                        /* 29 */
  ;

lib_clause
  : t_LIBRARY idf_list t_Semicolon                                    /* 30 */
  ;

use_clause
  : t_USE sel_list t_Semicolon                                        /* 31 */
  ;

sel_list
  : sel_name                                                          /* 32 */
  | sel_list t_Comma sel_name                                         /* 33 */
  ;

entity_declaration
  : t_ENTITY t_Identifier t_IS opt_generic_and_port_clauses entity_decl_part
      opt_entity_stats t_END opt_entity_end t_Semicolon               /* 34 */
  ;

opt_generic_and_port_clauses
  : %empty                                                            /* 35 */
  | generic_clause                                                    /* 36 */
  | port_clause                                                       /* 37 */
  | generic_clause port_clause                                        /* 38 */
  | port_clause generic_clause                                        /* 39 */
  ;

generic_clause
  : t_GENERIC generic_interf_list t_Semicolon                         /* 40 */
  ;

port_clause
  : t_PORT port_interf_list t_Semicolon                               /* 41 */
  ;

entity_decl_part
  : %empty                                                            /* 42 */
  | entity_decl_part entity_decltve_item                              /* 43 */
  ;

opt_entity_stats
  : %empty                                                            /* 44 */
  | t_BEGIN concurrent_stats                                          /* 45 */
  ;

opt_entity_end
  : t_ENTITY opt_t_Identifier                                         /* 46 */
  | opt_t_Identifier                                                  /* 47 */
  ;

opt_t_Identifier
  : %empty                                                            /* 48 */
  | t_Identifier                                                      /* 49 */
  ;

architecture_body
  : t_ARCHITECTURE t_Identifier t_OF t_Identifier t_IS architecture_decl_part t_BEGIN
      concurrent_stats t_END opt_architecture_end t_Semicolon         /* 50 */
  ;

architecture_decl_part
  : %empty                                                            /* 51 */
  | architecture_decl_part block_decltve_item                         /* 52 */
  ;

opt_architecture_end
  : t_ARCHITECTURE opt_t_Identifier                                   /* 53 */
  | opt_t_Identifier                                                  /* 54 */
  ;

configuration_declaration
  : t_CONFIGURATION t_Identifier t_OF t_Identifier t_IS configuration_decl_part
      block_config t_END opt_configuration_end t_Semicolon            /* 55 */
  ;

configuration_decl_part
  : %empty                                                            /* 56 */
  | configuration_decl_part config_decltve_item                       /* 57 */
  ;

opt_configuration_end
  : t_CONFIGURATION opt_t_Identifier                                  /* 58 */
  | opt_t_Identifier                                                  /* 59 */
  ;

package_declaration
  : t_PACKAGE t_Identifier t_IS package_decl_part t_END opt_package_end t_Semicolon  /* 60 */
  ;

package_decl_part
  : %empty                                                            /* 61 */
  | package_decl_part package_decltve_item                            /* 62 */
  ;

opt_package_end
  : t_PACKAGE opt_t_Identifier                                        /* 63 */
  | opt_t_Identifier                                                  /* 64 */
  ;

package_body
  : t_PACKAGE t_BODY t_Identifier t_IS package_body_decl_part t_END opt_package_body_end
      t_Semicolon                                                     /* 65 */
  ;

package_body_decl_part
  : %empty                                                            /* 66 */
  | package_body_decl_part package_body_decltve_item                  /* 67 */
  ;

opt_package_body_end
  : t_PACKAGE t_BODY opt_t_Identifier                                 /* 68 */
  | opt_t_Identifier                                                  /* 69 */
  ;

common_decltve_item
  : type_decl                                                         /* 70 */
  | subtype_decl                                                      /* 71 */
  | constant_decl                                                     /* 72 */
  | file_decl                                                         /* 73 */
  | alias_decl                                                        /* 74 */
  | subprog_decl                                                      /* 75 */
  | use_clause                                                        /* 76 */
  ;

entity_decltve_item
  : common_decltve_item                                               /* 77 */
  | subprog_body                                                      /* 78 */
  | attribute_decl                                                    /* 79 */
  | attribute_spec                                                    /* 80 */
  | disconnection_spec                                                /* 81 */
  | signal_decl                                                       /* 82 */
  ;

block_decltve_item
  : common_decltve_item                                               /* 83 */
  | subprog_body                                                      /* 84 */
  | comp_decl                                                         /* 85 */
  | attribute_decl                                                    /* 86 */
  | attribute_spec                                                    /* 87 */
  | config_spec                                                       /* 88 */
  | disconnection_spec                                                /* 89 */
  | signal_decl                                                       /* 90 */
  ;

package_decltve_item
  : common_decltve_item                                               /* 91 */
  | comp_decl                                                         /* 92 */
  | attribute_decl                                                    /* 93 */
  | attribute_spec                                                    /* 94 */
  | disconnection_spec                                                /* 95 */
  | signal_decl                                                       /* 96 */
  ;

package_body_decltve_item
  : common_decltve_item                                               /* 97 */
  | subprog_body                                                      /* 98 */
  ;

subprog_decltve_item
  : common_decltve_item                                               /* 99 */
  | subprog_body                                                      /* 100 */
  | attribute_decl                                                    /* 101 */
  | attribute_spec                                                    /* 102 */
  | variable_decl                                                     /* 103 */
  ;

proc_decltve_item
  : common_decltve_item                                               /* 104 */
  | subprog_body                                                      /* 105 */
  | attribute_decl                                                    /* 106 */
  | attribute_spec                                                    /* 107 */
  | variable_decl                                                     /* 108 */
  ;

config_decltve_item
  : attribute_spec                                                    /* 109 */
  | use_clause                                                        /* 110 */
  ;

subprog_decl
  : subprog_spec t_Semicolon                                          /* 111 */
  ;

subprog_spec
  : proc_or_func_spec                                                 /* 112 */
  ;

proc_or_func_spec
  : t_PROCEDURE t_Identifier opt_interf_list                          /* 113 */
  | pure_or_impure t_FUNCTION designator opt_interf_list t_RETURN subtype_indic  /* 114 */
  ;

pure_or_impure
  : %empty                                                            /* 115 */
  | t_PURE                                                            /* 116 */
  | t_IMPURE                                                          /* 117 */
  ;

opt_interf_list
  : %empty                                                            /* 118 */
  | interf_list                                                       /* 119 */
  ;

subprog_body
  : subprog_spec t_IS subprog_body_decl_part t_BEGIN seq_stats t_END opt_designator
      t_Semicolon                                                     /* 120 */
  ;

opt_designator
  : %empty                                                            /* 121 */
  | designator                                                        /* 122 */
  ;

subprog_body_decl_part
  : %empty                                                            /* 123 */
  | subprog_body_decl_part subprog_decltve_item                       /* 124 */
  ;

port_interf_list
  : interf_list_1                                                     /* 125 */
  ;

generic_interf_list
  : interf_list_1                                                     /* 126 */
  ;

interf_list
  : interf_list_1                                                     /* 127 */
  ;

interf_list_1
  : t_LeftParen opt_more_interf_elements t_RightParen                 /* 128 */
  ;

opt_more_interf_elements
  : interf_element                                                    /* 129 */
  | opt_more_interf_elements t_Semicolon interf_element               /* 130 */
  ;

interf_element
  : opt_object_class idf_list t_Colon opt_mode subtype_indic opt_t_BUS opt_var_init  /* 131 */
  ;

opt_t_BUS
  : %empty                                                            /* 132 */
  | t_BUS                                                             /* 133 */
  ;

opt_mode
  : %empty                                                            /* 134 */
  | mode                                                              /* 135 */
  ;

opt_object_class
  : %empty                                                            /* 136 */
  | object_class                                                      /* 137 */
  ;

mode
  : t_IN                                                              /* 138 */
  | t_OUT                                                             /* 139 */
  | t_INOUT                                                           /* 140 */
  | t_BUFFER                                                          /* 141 */
  | t_LINKAGE                                                         /* 142 */
  ;

association_list
  : t_LeftParen association_list_1 t_RightParen                       /* 143 */
  ;

named_association_list
  : association_list                                                  /* 144 */
  ;

association_list_1
  : association_elements                                              /* 145 */
  | association_list_1 t_Comma association_elements                   /* 146 */
  ;

gen_association_list
  : t_LeftParen gen_association_list_1 t_RightParen                   /* 147 */
  ;

gen_association_list_1
  : gen_association_elements                                          /* 148 */
  | gen_association_list_1 t_Comma gen_association_elements           /* 149 */
  ;

association_elements
  : formal_part t_Arrow actual_part                                   /* 150 */
  | actual_part                                                       /* 151 */
  ;

gen_association_elements
  : association_elements                                              /* 152 */
  | discrete_range1                                                   /* 153 */
  ;

formal_part
  : name                                                              /* 154 */
  | formal_part t_Bar name                                            /* 155 */
  ;

actual_part
  : expr_or_attr                                                      /* 156 */
  | t_OPEN                                                            /* 157 */
  ;

mark
  : t_Identifier                                                      /* 158 */
  | sel_name                                                          /* 159 */
  ;

expr
  : expr_or_attr                                                      /* 160 */
  ;

expr_or_attr
  : and_expression                                                    /* 161 */
  | or_expression                                                     /* 162 */
  | xor_expression                                                    /* 163 */
  | xnor_expression                                                   /* 164 */
  | relation_or_attr                                                  /* 165 */
  | relation t_NAND relation                                          /* 166 */
  | relation t_NOR relation                                           /* 167 */
  ;

relation
  : relation_or_attr                                                  /* 168 */
  ;

and_expression
  : relation t_AND relation                                           /* 169 */
  | and_expression t_AND relation                                     /* 170 */
  ;

or_expression
  : relation t_OR relation                                            /* 171 */
  | or_expression t_OR relation                                       /* 172 */
  ;

xor_expression
  : relation t_XOR relation                                           /* 173 */
  | xor_expression t_XOR relation                                     /* 174 */
  ;

xnor_expression
  : relation t_XNOR relation                                          /* 175 */
  | xnor_expression t_XNOR relation                                   /* 176 */
  ;

relation_or_attr
  : shift_expression_or_attr                                          /* 177 */
  | shift_expression t_EQSym shift_expression                         /* 178 */
  | shift_expression t_NESym shift_expression                         /* 179 */
  | shift_expression t_LTSym shift_expression                         /* 180 */
  | shift_expression t_LESym shift_expression                         /* 181 */
  | shift_expression t_GTSym shift_expression                         /* 182 */
  | shift_expression t_GESym shift_expression                         /* 183 */
  ;

shift_expression
  : shift_expression_or_attr                                          /* 184 */
  ;

shift_expression_or_attr
  : simple_expression_or_attr                                         /* 185 */
  | simple_expression t_SLL simple_expression                         /* 186 */
  | simple_expression t_SRL simple_expression                         /* 187 */
  | simple_expression t_SLA simple_expression                         /* 188 */
  | simple_expression t_SRA simple_expression                         /* 189 */
  | simple_expression t_ROL simple_expression                         /* 190 */
  | simple_expression t_ROR simple_expression                         /* 191 */
  ;

simple_expression
  : simple_expression_or_attr                                         /* 192 */
  ;

simple_expression_or_attr
  : simple_expression_no_sign_or_attr                                 /* 193 */
  | t_Plus simple_expression_no_sign                                  /* 194 */
  | t_Minus simple_expression_no_sign                                 /* 195 */
  ;

simple_expression_no_sign
  : simple_expression_no_sign_or_attr                                 /* 196 */
  ;

simple_expression_no_sign_or_attr
  : term_or_attr                                                      /* 197 */
  | simple_expression_no_sign t_Plus term                             /* 198 */
  | simple_expression_no_sign t_Minus term                            /* 199 */
  | simple_expression_no_sign t_Ampersand term                        /* 200 */
  ;

term
  : term_or_attr                                                      /* 201 */
  ;

term_or_attr
  : factor_or_attr                                                    /* 202 */
  | term t_Star factor                                                /* 203 */
  | term t_Slash factor                                               /* 204 */
  | term t_MOD factor                                                 /* 205 */
  | term t_REM factor                                                 /* 206 */
  ;

factor
  : factor_or_attr                                                    /* 207 */
  ;

factor_or_attr
  : primary_or_attr                                                   /* 208 */
  | primary t_DoubleStar primary                                      /* 209 */
  | t_ABS primary                                                     /* 210 */
  | t_NOT primary                                                     /* 211 */
  ;

primary
  : primary_or_attr                                                   /* 212 */
  ;

primary_or_attr
  : name                                                              /* 213 */
  | literal                                                           /* 214 */
  | aggregate                                                         /* 215 */
  | qualified_expr                                                    /* 216 */
  | allocator                                                         /* 217 */
  | t_LeftParen expr t_RightParen                                     /* 218 */
  ;

name
  : mark                                                              /* 219 */
  | name2                                                             /* 220 */
  ;

name2
  : t_StringLit                                                       /* 221 */
  | attribute_name                                                    /* 222 */
  | ifts_name                                                         /* 223 */
  ;

sel_name
  : name t_Dot suffix                                                 /* 224 */
  ;

simple_sel_name
  : simple_sel_name t_Dot t_Identifier                                /* 225 */
  | t_Identifier                                                      /* 226 */
  ;

suffix
  : designator                                                        /* 227 */
  | t_CharacterLit                                                    /* 228 */
  | t_ALL                                                             /* 229 */
  ;

ifts_name
  : mark gen_association_list                                         /* 230 */
  | name2 gen_association_list                                        /* 231 */
  ;

attribute_name
  : mark t_Apostrophe t_Identifier                                    /* 232 */
  | name2 t_Apostrophe t_Identifier                                   /* 233 */
  | mark t_Apostrophe t_RANGE                                         /* 234 */
  | name2 t_Apostrophe t_RANGE                                        /* 235 */
  ;

attribute_name_with_param
  : attribute_name opt_attribute_param                                /* 236 */
  ;

opt_attribute_param
  : %empty                                                            /* 237 */
  | t_LeftParen expr t_RightParen                                     /* 238 */
  ;

aggregate
  : rev_element_association_list2 t_RightParen                        /* 239 */
  | t_LeftParen choices t_Arrow expr t_RightParen                     /* 240 */
  ;

rev_element_association_list2
  : t_LeftParen element_association t_Comma element_association       /* 241 */
  | rev_element_association_list2 t_Comma element_association         /* 242 */
  ;

qualified_expr
  : mark t_Apostrophe t_LeftParen expr t_RightParen                   /* 243 */
  | mark t_Apostrophe aggregate                                       /* 244 */
  ;

allocator
  : t_NEW mark mark opt_index_association_list                        /* 245 */
  | t_NEW mark opt_index_association_list                             /* 246 */
  | t_NEW qualified_expr                                              /* 247 */
  ;

opt_index_association_list
  : %empty                                                            /* 248 */
  | gen_association_list                                              /* 249 */
  ;

element_association
  : choices t_Arrow expr                                              /* 250 */
  | expr                                                              /* 251 */
  ;

choices
  : opt_more_choices                                                  /* 252 */
  ;

opt_more_choices
  : choice                                                            /* 253 */
  | opt_more_choices t_Bar choice                                     /* 254 */
  ;

choice
  : expr_or_attr                                                      /* 255 */
  | discrete_range1                                                   /* 256 */
  | t_OTHERS                                                          /* 257 */
  ;

decl_Identifier
  : t_Identifier                                                      /* 258 */
  ;

type_decl
  : t_TYPE decl_Identifier opt_type_def t_Semicolon                   /* 259 */
  ;

opt_type_def
  : %empty                                                            /* 260 */
  | t_IS type_definition                                              /* 261 */
  ;

type_definition
  : enumeration_type_definition                                       /* 262 */
  | range_constraint                                                  /* 263 */
  | physical_type_definition                                          /* 264 */
  | unconstrained_array_definition                                    /* 265 */
  | constrained_array_definition                                      /* 266 */
  | record_type_definition                                            /* 267 */
  | access_type_definition                                            /* 268 */
  | file_type_definition                                              /* 269 */
  ;

enumeration_type_definition
  : t_LeftParen enumeration_literal_decls t_RightParen                /* 270 */
  ;

enumeration_literal_decls
  : opt_more_enumeration_literals                                     /* 271 */
  ;

opt_more_enumeration_literals
  : enumeration_literal                                               /* 272 */
  | opt_more_enumeration_literals t_Comma enumeration_literal         /* 273 */
  ;

physical_type_definition
  : range_constraint t_UNITS primary_unit_decl secondary_unit_decls t_END t_UNITS  /* 274 */
  ;

secondary_unit_decls
  : %empty                                                            /* 275 */
  | secondary_unit_decls secondary_unit_decl                          /* 276 */
  ;

primary_unit_decl
  : t_Identifier t_Semicolon                                          /* 277 */
  ;

secondary_unit_decl
  : t_Identifier t_EQSym physical_literal t_Semicolon                 /* 278 */
  ;

unconstrained_array_definition
  : t_ARRAY t_LeftParen index_subtype_defs t_RightParen t_OF subtype_indic  /* 279 */
  ;

index_subtype_defs
  : opt_more_index_subtype_defs                                       /* 280 */
  ;

opt_more_index_subtype_defs
  : index_subtype_definition                                          /* 281 */
  | opt_more_index_subtype_defs t_Comma index_subtype_definition      /* 282 */
  ;

index_subtype_definition
  : mark t_RANGE t_Box                                                /* 283 */
  ;

constrained_array_definition
  : t_ARRAY index_constraint t_OF subtype_indic                       /* 284 */
  ;

record_type_definition
  : t_RECORD element_decl opt_more_element_decls t_END t_RECORD       /* 285 */
  ;

opt_more_element_decls
  : %empty                                                            /* 286 */
  | opt_more_element_decls element_decl                               /* 287 */
  ;

element_decl
  : idf_list t_Colon subtype_indic t_Semicolon                        /* 288 */
  ;

access_type_definition
  : t_ACCESS subtype_indic_opt_incomplete                             /* 289 */
  ;

file_type_definition
  : t_FILE t_OF mark                                                  /* 290 */
  ;

subtype_decl
  : t_SUBTYPE decl_Identifier t_IS subtype_indic t_Semicolon          /* 291 */
  ;

subtype_indic
  : subtype_indic_opt_incomplete                                      /* 292 */
  ;

subtype_indic_opt_incomplete
  : mark opt_index_constraint                                         /* 293 */
  | subtype_indic1                                                    /* 294 */
  ;

subtype_indic1
  : mark mark range_constraint                                        /* 295 */
  | mark range_constraint                                             /* 296 */
  | mark mark opt_index_constraint                                    /* 297 */
  ;

opt_index_constraint
  : %empty                                                            /* 298 */
  | gen_association_list                                              /* 299 */
  ;

range_constraint
  : t_RANGE range_spec2                                               /* 300 */
  ;

index_constraint
  : t_LeftParen opt_more_discrete_ranges t_RightParen                 /* 301 */
  ;

opt_more_discrete_ranges
  : discrete_range                                                    /* 302 */
  | opt_more_discrete_ranges t_Comma discrete_range                   /* 303 */
  ;

discrete_range
  : subtype_indic                                                     /* 304 */
  | range_spec                                                        /* 305 */
  ;

discrete_range1
  : subtype_indic1                                                    /* 306 */
  | expr_or_attr direction expr                                       /* 307 */
  ;

opt_direction_expr
  : %empty                                                            /* 308 */
  | direction expr                                                    /* 309 */
  ;

range_spec
  : attribute_name_with_param                                         /* 310 */
  | expr direction expr                                               /* 311 */
  ;

range_spec2
  : expr_or_attr opt_direction_expr                                   /* 312 */
  ;

direction
  : t_TO                                                              /* 313 */
  | t_DOWNTO                                                          /* 314 */
  ;

constant_decl
  : t_CONSTANT idf_list t_Colon subtype_indic opt_var_init t_Semicolon  /* 315 */
  ;

signal_decl
  : t_SIGNAL idf_list t_Colon subtype_indic opt_signal_kind opt_var_init t_Semicolon  /* 316 */
  ;

opt_signal_kind
  : %empty                                                            /* 317 */
  | signal_kind                                                       /* 318 */
  ;

variable_decl
  : t_VARIABLE idf_list t_Colon subtype_indic opt_var_init t_Semicolon  /* 319 */
  ;

opt_var_init
  : %empty                                                            /* 320 */
  | t_VarAsgn expr                                                    /* 321 */
  ;

object_class
  : t_CONSTANT                                                        /* 322 */
  | t_SIGNAL                                                          /* 323 */
  | t_VARIABLE                                                        /* 324 */
  | t_FILE                                                            /* 325 */
  ;

signal_kind
  : t_BUS                                                             /* 326 */
  | t_REGISTER                                                        /* 327 */
  ;

alias_decl
  : t_ALIAS t_Identifier t_Colon subtype_indic t_IS name t_Semicolon  /* 328 */
  ;

file_decl
  : t_FILE t_Identifier t_Colon subtype_indic opt_open_mode opt_file_name t_Semicolon  /* 329 */
  ;

opt_open_mode
  : %empty                                                            /* 330 */
  | t_OPEN expr                                                       /* 331 */
  ;

opt_file_name
  : %empty                                                            /* 332 */
  | t_IS opt_file_mode expr                                           /* 333 */
  ;

opt_file_mode
  : %empty                                                            /* 334 */
  | t_IN                                                              /* 335 */
  | t_OUT                                                             /* 336 */
  ;

disconnection_spec
  : t_DISCONNECT signal_list t_Colon mark t_AFTER expr t_Semicolon    /* 337 */
  ;

signal_list
  : signal_name opt_more_signal_list                                  /* 338 */
  | t_OTHERS                                                          /* 339 */
  | t_ALL                                                             /* 340 */
  ;

opt_more_signal_list
  : %empty                                                            /* 341 */
  | opt_more_signal_list t_Comma signal_name                          /* 342 */
  ;

attribute_decl
  : t_ATTRIBUTE t_Identifier t_Colon mark t_Semicolon                 /* 343 */
  ;

attribute_spec
  : t_ATTRIBUTE t_Identifier t_OF entity_spec t_IS expr t_Semicolon   /* 344 */
  ;

entity_spec
  : entity_name_list t_Colon entity_class                             /* 345 */
  ;

entity_name_list
  : designator opt_more_entity_name_list                              /* 346 */
  | t_OTHERS                                                          /* 347 */
  | t_ALL                                                             /* 348 */
  ;

opt_more_entity_name_list
  : %empty                                                            /* 349 */
  | opt_more_entity_name_list t_Comma designator                      /* 350 */
  ;

entity_class
  : t_ENTITY                                                          /* 351 */
  | t_ARCHITECTURE                                                    /* 352 */
  | t_PACKAGE                                                         /* 353 */
  | t_CONFIGURATION                                                   /* 354 */
  | t_COMPONENT                                                       /* 355 */
  | t_LABEL                                                           /* 356 */
  | t_TYPE                                                            /* 357 */
  | t_SUBTYPE                                                         /* 358 */
  | t_PROCEDURE                                                       /* 359 */
  | t_FUNCTION                                                        /* 360 */
  | t_SIGNAL                                                          /* 361 */
  | t_VARIABLE                                                        /* 362 */
  | t_CONSTANT                                                        /* 363 */
  ;

generation_scheme
  : if_scheme                                                         /* 364 */
  | for_scheme                                                        /* 365 */
  ;

iteration_scheme
  : for_scheme                                                        /* 366 */
  | while_scheme                                                      /* 367 */
  ;

if_scheme
  : t_IF condition                                                    /* 368 */
  ;

for_scheme
  : t_FOR t_Identifier t_IN discrete_range                            /* 369 */
  ;

while_scheme
  : t_WHILE condition                                                 /* 370 */
  ;

concurrent_stats
  : opt_concurrent_stats                                              /* 371 */
  ;

opt_concurrent_stats
  : concurrent_stat                                                   /* 372 */
  | opt_concurrent_stats concurrent_stat                              /* 373 */
  ;

concurrent_stat
  : concurrent_stat_1                                                 /* 374 */
  ;

concurrent_stat_1
  : concurrent_stat_without_label                                     /* 375 */
  | concurrent_stat_with_label                                        /* 376 */
  ;

concurrent_stat_without_label
  : concurrent_stat_without_label_1                                   /* 377 */
  ;

concurrent_stat_with_label
  : t_Identifier t_Colon concurrent_stat_with_label_1                 /* 378 */
  ;

concurrent_stat_without_label_1
  : concurrent_assertion_stat                                         /* 379 */
  | concurrent_procedure_call                                         /* 380 */
  | concurrent_signal_assign_stat                                     /* 381 */
  | proc_stat                                                         /* 382 */
  ;

concurrent_stat_with_label_1
  : block_stat                                                        /* 383 */
  | comp_inst_stat                                                    /* 384 */
  | concurrent_assertion_stat                                         /* 385 */
  | concurrent_procedure_call                                         /* 386 */
  | concurrent_signal_assign_stat                                     /* 387 */
  | generate_stat                                                     /* 388 */
  | proc_stat                                                         /* 389 */
  ;

block_stat
  : t_BLOCK block_guard opt_t_IS block_generic_stuff block_port_stuff block_decl_part
      t_BEGIN opt_concurrent_stats t_END t_BLOCK opt_t_Identifier t_Semicolon  /* 390 */
  ;

block_decl_part
  : %empty                                                            /* 391 */
  | block_decl_part block_decltve_item                                /* 392 */
  ;

block_port_stuff
  : %empty                                                            /* 393 */
  | port_clause opt_port_map_semi                                     /* 394 */
  ;

block_generic_stuff
  : %empty                                                            /* 395 */
  | generic_clause opt_generic_map_semi                               /* 396 */
  ;

block_guard
  : %empty                                                            /* 397 */
  | t_LeftParen condition t_RightParen                                /* 398 */
  ;

opt_port_map_semi
  : %empty                                                            /* 399 */
  | port_map t_Semicolon                                              /* 400 */
  ;

opt_generic_map_semi
  : %empty                                                            /* 401 */
  | generic_map t_Semicolon                                           /* 402 */
  ;

comp_inst_stat
  : comp_mark t_GENERIC t_MAP named_association_list opt_port_map t_Semicolon  /* 403 */
  | comp_mark t_PORT t_MAP named_association_list opt_generic_map t_Semicolon  /* 404 */
  | comp_mark_with_keyword opt_generic_map opt_port_map t_Semicolon   /* 405 */
  ;

comp_mark_with_keyword
  : t_COMPONENT comp_mark                                             /* 406 */
  | t_ENTITY simple_sel_name opt_arch_id                              /* 407 */
  | t_CONFIGURATION mark                                              /* 408 */
  ;

opt_generic_map
  : %empty                                                            /* 409 */
  | generic_map                                                       /* 410 */
  ;

generic_map
  : t_GENERIC t_MAP named_association_list                            /* 411 */
  ;

opt_port_map
  : %empty                                                            /* 412 */
  | port_map                                                          /* 413 */
  ;

port_map
  : t_PORT t_MAP named_association_list                               /* 414 */
  ;

concurrent_assertion_stat
  : assertion_stat                                                    /* 415 */
  | t_POSTPONED assertion_stat                                        /* 416 */
  ;

concurrent_procedure_call
  : mark t_Semicolon                                                  /* 417 */
  | procedure_call_stat_with_args                                     /* 418 */
  | t_POSTPONED procedure_call_stat                                   /* 419 */
  ;

opt_postponed
  : %empty                                                            /* 420 */
  | t_POSTPONED                                                       /* 421 */
  ;

concurrent_signal_assign_stat
  : condal_signal_assign                                              /* 422 */
  | t_POSTPONED condal_signal_assign                                  /* 423 */
  | sel_signal_assign                                                 /* 424 */
  | t_POSTPONED sel_signal_assign                                     /* 425 */
  ;

condal_signal_assign
  : target t_LESym opt_guarded delay_mechanism condal_wavefrms t_Semicolon  /* 426 */
  ;

condal_wavefrms
  : condal_wavefrms_1 wavefrm                                         /* 427 */
  ;

condal_wavefrms_1
  : %empty                                                            /* 428 */
  | condal_wavefrms_1 wavefrm t_WHEN condition t_ELSE                 /* 429 */
  ;

wavefrm
  : wavefrm_element reverse_more_wavefrm                              /* 430 */
  ;

reverse_more_wavefrm
  : %empty                                                            /* 431 */
  | reverse_more_wavefrm t_Comma wavefrm_element                      /* 432 */
  ;

wavefrm_element
  : expr opt_wavefrm_after                                            /* 433 */
  ;

opt_wavefrm_after
  : %empty                                                            /* 434 */
  | t_AFTER expr                                                      /* 435 */
  ;

target
  : name                                                              /* 436 */
  | aggregate                                                         /* 437 */
  ;

opt_guarded
  : %empty                                                            /* 438 */
  | t_GUARDED                                                         /* 439 */
  ;

sel_signal_assign
  : t_WITH expr t_SELECT target t_LESym opt_guarded delay_mechanism sel_wavefrms
      t_Semicolon                                                     /* 440 */
  ;

sel_wavefrms
  : sel_wavefrms_1 wavefrm t_WHEN choices                             /* 441 */
  ;

sel_wavefrms_1
  : %empty                                                            /* 442 */
  | sel_wavefrms_1 wavefrm t_WHEN choices t_Comma                     /* 443 */
  ;

generate_stat
  : generation_scheme t_GENERATE generate_declarative_items_block concurrent_stats t_END
      t_GENERATE opt_t_Identifier t_Semicolon                         /* 444 */
  ;

generate_declarative_items_block
  : %empty                                                            /* 445 */
  | generate_declarative_items t_BEGIN                                /* 446 */
  ;

generate_declarative_items
  : %empty                                                            /* 447 */
  | generate_declarative_items generate_declarative_item              /* 448 */
  ;

generate_declarative_item
  : common_decltve_item                                               /* 449 */
  | subprog_body                                                      /* 450 */
  | comp_decl                                                         /* 451 */
  | attribute_decl                                                    /* 452 */
  | attribute_spec                                                    /* 453 */
  | config_spec                                                       /* 454 */
  | disconnection_spec                                                /* 455 */
  | signal_decl                                                       /* 456 */
  ;

proc_stat
  : t_PROCESS opt_proc_sensitivity_list opt_t_IS proc_decl_part t_BEGIN seq_stats t_END
      opt_postponed t_PROCESS opt_t_Identifier t_Semicolon            /* 457 */
  | t_POSTPONED t_PROCESS opt_proc_sensitivity_list opt_t_IS proc_decl_part t_BEGIN
      seq_stats t_END opt_postponed t_PROCESS opt_t_Identifier t_Semicolon  /* 458 */
  ;

opt_t_IS
  : %empty                                                            /* 459 */
  | t_IS                                                              /* 460 */
  ;

proc_decl_part
  : %empty                                                            /* 461 */
  | proc_decl_part proc_decltve_item                                  /* 462 */
  ;

opt_proc_sensitivity_list
  : %empty                                                            /* 463 */
  | t_LeftParen sensitivity_list t_RightParen                         /* 464 */
  ;

sensitivity_list
  : reverse_opt_more_sensitivities                                    /* 465 */
  ;

reverse_opt_more_sensitivities
  : signal_name                                                       /* 466 */
  | reverse_opt_more_sensitivities t_Comma signal_name                /* 467 */
  ;

signal_name
  : name                                                              /* 468 */
  ;

seq_stats
  : rev_seq_stats                                                     /* 469 */
  ;

rev_seq_stats
  : %empty                                                            /* 470 */
  | rev_seq_stats seq_stat                                            /* 471 */
  ;

seq_stat
  : assertion_stat                                                    /* 472 */
  | report_stat                                                       /* 473 */
  | case_stat                                                         /* 474 */
  | exit_stat                                                         /* 475 */
  | if_stat                                                           /* 476 */
  | loop_stat                                                         /* 477 */
  | next_stat                                                         /* 478 */
  | null_stat                                                         /* 479 */
  | procedure_call_stat                                               /* 480 */
  | return_stat                                                       /* 481 */
  | signal_assign_stat                                                /* 482 */
  | variable_assign_stat                                              /* 483 */
  | wait_stat                                                         /* 484 */
  ;

assertion_stat
  : t_ASSERT condition opt_assertion_report opt_assertion_severity t_Semicolon  /* 485 */
  ;

report_stat
  : t_REPORT expr opt_assertion_severity t_Semicolon                  /* 486 */
  ;

opt_assertion_severity
  : %empty                                                            /* 487 */
  | t_SEVERITY expr                                                   /* 488 */
  ;

opt_assertion_report
  : %empty                                                            /* 489 */
  | t_REPORT expr                                                     /* 490 */
  ;

case_stat
  : t_CASE expr t_IS more_case_stat_alternatives t_END t_CASE t_Semicolon  /* 491 */
  ;

case_stat_alternative
  : t_WHEN choices t_Arrow seq_stats                                  /* 492 */
  ;

more_case_stat_alternatives
  : case_stat_alternative                                             /* 493 */
  | more_case_stat_alternatives case_stat_alternative                 /* 494 */
  ;

if_stat
  : t_IF condition t_THEN seq_stats if_stat_1 if_stat_2 t_END t_IF t_Semicolon  /* 495 */
  ;

if_stat_2
  : %empty                                                            /* 496 */
  | t_ELSE seq_stats                                                  /* 497 */
  ;

if_stat_1
  : %empty                                                            /* 498 */
  | if_stat_1 t_ELSIF condition t_THEN seq_stats                      /* 499 */
  ;

condition
  : expr                                                              /* 500 */
  ;

loop_stat
  : opt_label opt_iteration_scheme t_LOOP seq_stats t_END t_LOOP opt_t_Identifier
      t_Semicolon                                                     /* 501 */
  ;

opt_iteration_scheme
  : %empty                                                            /* 502 */
  | iteration_scheme                                                  /* 503 */
  ;

opt_label
  : %empty                                                            /* 504 */
  | t_Identifier t_Colon                                              /* 505 */
  ;

next_stat
  : t_NEXT opt_t_Identifier opt_when t_Semicolon                      /* 506 */
  ;

exit_stat
  : t_EXIT opt_t_Identifier opt_when t_Semicolon                      /* 507 */
  ;

opt_when
  : %empty                                                            /* 508 */
  | t_WHEN condition                                                  /* 509 */
  ;

null_stat
  : t_NULL t_Semicolon                                                /* 510 */
  ;

procedure_call_stat
  : procedure_call_stat_without_args                                  /* 511 */
  | procedure_call_stat_with_args                                     /* 512 */
  ;

procedure_call_stat_without_args
  : mark t_Semicolon                                                  /* 513 */
  ;

procedure_call_stat_with_args
  : name2 t_Semicolon                                                 /* 514 */
  ;

return_stat
  : t_RETURN opt_expr t_Semicolon                                     /* 515 */
  ;

opt_expr
  : %empty                                                            /* 516 */
  | expr                                                              /* 517 */
  ;

signal_assign_stat
  : target t_LESym delay_mechanism wavefrm t_Semicolon                /* 518 */
  ;

delay_mechanism
  : %empty                                                            /* 519 */
  | t_TRANSPORT                                                       /* 520 */
  | t_INERTIAL                                                        /* 521 */
  | t_REJECT expr t_INERTIAL                                          /* 522 */
  ;

variable_assign_stat
  : target t_VarAsgn expr t_Semicolon                                 /* 523 */
  ;

wait_stat
  : t_WAIT opt_wait_on opt_wait_until opt_wait_for t_Semicolon        /* 524 */
  ;

opt_wait_for
  : %empty                                                            /* 525 */
  | t_FOR expr                                                        /* 526 */
  ;

opt_wait_until
  : %empty                                                            /* 527 */
  | t_UNTIL condition                                                 /* 528 */
  ;

opt_wait_on
  : %empty                                                            /* 529 */
  | t_ON sensitivity_list                                             /* 530 */
  ;

comp_decl
  : t_COMPONENT t_Identifier opt_t_IS opt_generic_and_port_clauses t_END t_COMPONENT
      opt_t_Identifier t_Semicolon                                    /* 531 */
  ;

block_config
  : t_FOR name use_clauses config_items t_END t_FOR t_Semicolon       /* 532 */
  ;

config_items
  : %empty                                                            /* 533 */
  | config_items config_item                                          /* 534 */
  ;

use_clauses
  : %empty                                                            /* 535 */
  | use_clauses use_clause                                            /* 536 */
  ;

config_item
  : block_config                                                      /* 537 */
  | comp_config                                                       /* 538 */
  ;

comp_config
  : t_FOR comp_spec opt_comp_binding_indic opt_block_config t_END t_FOR t_Semicolon  /* 539 */
  ;

opt_block_config
  : %empty                                                            /* 540 */
  | block_config                                                      /* 541 */
  ;

opt_comp_binding_indic
  : %empty                                                            /* 542 */
  | incremental_binding_indic t_Semicolon                             /* 543 */
  | pre_binding_indic t_Semicolon                                     /* 544 */
  ;

config_spec
  : t_FOR comp_spec binding_indic t_Semicolon                         /* 545 */
  ;

comp_spec
  : inst_list t_Colon comp_mark                                       /* 546 */
  ;

comp_mark
  : mark                                                              /* 547 */
  ;

inst_list
  : idf_list                                                          /* 548 */
  | t_ALL                                                             /* 549 */
  | t_OTHERS                                                          /* 550 */
  ;

binding_indic
  : pre_binding_indic                                                 /* 551 */
  ;

binding_mid_action
  : %empty                                                            /* 552 */
  ;

pre_binding_indic
  : t_USE entity_aspect binding_mid_action opt_generic_map opt_port_map  /* 553 */
  ;

incremental_binding_indic
  : generic_map opt_port_map                                          /* 554 */
  | port_map                                                          /* 555 */
  ;

entity_aspect
  : t_ENTITY simple_sel_name opt_arch_id                              /* 556 */
  | t_CONFIGURATION mark                                              /* 557 */
  | t_OPEN                                                            /* 558 */
  ;

opt_arch_id
  : %empty                                                            /* 559 */
  | t_LeftParen t_Identifier t_RightParen                             /* 560 */
  ;
%%

namespace zantrope {

std::int32_t grammar_debug = 0;

namespace {

token_source current_source = nullptr;
std::FILE* trace_file = nullptr;

// The token source and, while grammar_debug is set, the trace file of one
// parse; both are let go however the parse ends.
class parse_session {
 public:
  explicit parse_session(token_source next) {
    current_source = next;
    if (grammar_debug) trace_file = open_program_file(kParserTraceFile, "ab");
    vhdl_yydebug = trace_file != nullptr;
  }
  ~parse_session() {
    if (trace_file) std::fclose(trace_file);
    trace_file = nullptr;
    vhdl_yydebug = 0;
    current_source = nullptr;
  }
  parse_session(const parse_session&) = delete;
  parse_session& operator=(const parse_session&) = delete;
};

}  // namespace

const char* parser_message(const char* text) {
  if (std::strcmp(text, "syntax error") == 0) return "parse error";
  if (std::strcmp(text, "memory exhausted") == 0) return "parser stack overflow";
  return text;
}

void parser_trace(const char* format, ...) {
  if (!trace_file) return;
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(trace_file, format, arguments);
  va_end(arguments);
}

parser_value& parser_lookahead() { return vhdl_yylval; }

std::int32_t parse_tokens(token_source next) {
  parse_session session(next);
  return vhdl_yyparse();
}

}  // namespace zantrope

// The next token for the parser. Its value starts cleared, so a keyword or
// symbol carries no token object; a code outside the terminals is the
// undefined token (a syntax error), never the parser's error token.
static int yylex() {
  zantrope::parser_lookahead() = {};
  const zantrope::token_code code = zantrope::current_source();
  if (code <= 0) return TOK_YYEOF;
  if (code < zantrope::first_terminal || code > zantrope::last_terminal) return TOK_VHDL_YYUNDEF;
  return code;
}

static void yyerror(const char* message) { zantrope::report_parser_error(message); }

// The grammar's terminals are the token codes of Tokens.def, whatever the
// generator numbers itself.
#define ZANTROPE_TOKEN(name, code) static_assert(int(TOK_##name) == int(zantrope::name));
#include "compiler/Tokens.def"
#undef ZANTROPE_TOKEN
static_assert(int(TOK_VHDL_YYerror) == int(zantrope::t_error));
static_assert(int(TOK_VHDL_YYUNDEF) == int(zantrope::t_UNDEF));
static_assert(YYMAXUTOK == zantrope::last_terminal);
