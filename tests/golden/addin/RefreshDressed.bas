Sub Refresh()
'**********************************************************************
' Utility: 
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



    x = 1
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