# Writes font_widths.cpp: the advance widths of the six standard PDF fonts for every
# Windows-1252 code, read from the metric-compatible URW fonts' AFM files at build time.
# cmake -DAFM_DIR=... -DOUT=... -P font_widths.cmake

# Glyph names of the codes 32..255 in Windows-1252; "-" where the code has no character.
set(names
    space exclam quotedbl numbersign dollar percent ampersand quotesingle parenleft parenright
    asterisk plus comma hyphen period slash zero one two three four five six seven eight nine
    colon semicolon less equal greater question at A B C D E F G H I J K L M N O P Q R S T U V
    W X Y Z bracketleft backslash bracketright asciicircum underscore grave a b c d e f g h i j
    k l m n o p q r s t u v w x y z braceleft bar braceright asciitilde -
    Euro - quotesinglbase florin quotedblbase ellipsis dagger daggerdbl circumflex perthousand
    Scaron guilsinglleft OE - Zcaron - - quoteleft quoteright quotedblleft quotedblright bullet
    endash emdash tilde trademark scaron guilsinglright oe - zcaron Ydieresis
    space exclamdown cent sterling currency yen brokenbar section dieresis copyright ordfeminine
    guillemotleft logicalnot hyphen registered macron degree plusminus twosuperior threesuperior
    acute mu paragraph periodcentered cedilla onesuperior ordmasculine guillemotright onequarter
    onehalf threequarters questiondown Agrave Aacute Acircumflex Atilde Adieresis Aring AE
    Ccedilla Egrave Eacute Ecircumflex Edieresis Igrave Iacute Icircumflex Idieresis Eth Ntilde
    Ograve Oacute Ocircumflex Otilde Odieresis multiply Oslash Ugrave Uacute Ucircumflex
    Udieresis Yacute Thorn germandbls agrave aacute acircumflex atilde adieresis aring ae
    ccedilla egrave eacute ecircumflex edieresis igrave iacute icircumflex idieresis eth ntilde
    ograve oacute ocircumflex otilde odieresis divide oslash ugrave uacute ucircumflex udieresis
    yacute thorn ydieresis)
list(LENGTH names count)
if(NOT count EQUAL 224)
    message(FATAL_ERROR "the code table has ${count} names, not 224")
endif()

# In the order of the StandardFont enumeration.
set(fonts NimbusRoman-Regular NimbusRoman-Bold NimbusMonoPS-Regular NimbusMonoPS-Bold
          NimbusSans-Regular NimbusSans-Bold)

set(out "// Generated from the AFM files of fonts-urw-base35 by font_widths.cmake; do not edit.\n")
string(APPEND out "#include \"font_metrics.h\"\n\n")
string(APPEND out "const uint16_t kGlyphWidths[kStandardFontCount][256] = {\n")
foreach(font ${fonts})
    set(afm ${AFM_DIR}/${font}.afm)
    if(NOT EXISTS ${afm})
        message(FATAL_ERROR "${afm} is missing: install fonts-urw-base35 (scripts/setup)")
    endif()
    file(STRINGS ${afm} lines REGEX "^C ")
    foreach(line ${lines})
        if(line MATCHES "WX ([0-9]+) ; N ([A-Za-z0-9_.]+) ;")
            if(NOT DEFINED "w_${font}_${CMAKE_MATCH_2}")
                set("w_${font}_${CMAKE_MATCH_2}" ${CMAKE_MATCH_1})
            endif()
        endif()
    endforeach()
    set(row "    {")
    foreach(code RANGE 0 31)
        string(APPEND row "0,")
    endforeach()
    foreach(name ${names})
        if(name STREQUAL "-")
            string(APPEND row "0,")
        elseif(DEFINED "w_${font}_${name}")
            string(APPEND row "${w_${font}_${name}},")
        else()
            message(FATAL_ERROR "${font}: no glyph ${name}")
        endif()
    endforeach()
    string(APPEND out "${row}},\n")
endforeach()
string(APPEND out "};\n")
file(WRITE ${OUT}.tmp "${out}")
file(RENAME ${OUT}.tmp ${OUT})
