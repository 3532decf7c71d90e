Attribute VB_Name = "M"
' Viêt Ðà
Sub Refresh( )
'**********************************************************************
' Utility: Description of its utility
'
' Functions called: 
' Functions calling: 
'
'
' Programmer's name: My name
' Creation date: Sunday 06 December 2026
' Last modification:          by
'**********************************************************************

'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorRefresh



'-----------------------------------
'- End and exit
RefreshNext:
Exit Sub


'-----------------------------------
'Error local traitment
ErrorRefresh:
Msgbox Err.Description, , "Refresh"
       '-Resume
Resume RefreshNext
'-----------------------------------
'End
End Sub