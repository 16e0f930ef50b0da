/* Link script of a language module: its resources and nothing else. The default script
   would still add an empty import directory, an export directory and the runtime's
   constructor lists; a module that is only ever mapped as data needs none of them. The
   empty relocation section keeps the image relocatable. */
SECTIONS
{
  . = SIZEOF_HEADERS;
  . = ALIGN(__section_alignment__);
  .rsrc __image_base__ + ( __section_alignment__ < 0x1000 ? . : __section_alignment__ ) :
  {
    *(.rsrc)
    *(SORT(.rsrc$*))
  }
  .reloc BLOCK(__section_alignment__) : { *(.reloc) }
  /DISCARD/ : { *(*) }
}
