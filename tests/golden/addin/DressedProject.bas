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



    List1.Clear
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
' Adds up
Function Total() As Long
'-----------------------------------
'Local variables definition 




'-----------------------------------
' Start 
On Error Goto ErrorTotal



    Total = 1
'-----------------------------------
'- End and exit
TotalNext:
Exit Function


'-----------------------------------
'Error local traitment
ErrorTotal:
Msgbox Err.Description, , "Total"
       '-Resume
Resume TotalNext
'-----------------------------------
'End
End Function
